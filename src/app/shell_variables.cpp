#include "app/shell_variables.h"

namespace pordex::app {

ShellVariables& shellVariables() {
    static ShellVariables v;
    return v;
}

}  // namespace pordex::app
