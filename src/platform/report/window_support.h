#pragma once

#include <QString>
#include <functional>
#include <utility>
#include <vector>

class QWidget;

namespace pordex::report {

// Keeps a window's position between runs. The program passes the window framework's settings
// store here; either part may be empty (nothing is kept).
struct WindowPlacement {
    std::function<void(QWidget&)> restore;  // after the window has opened
    std::function<void(QWidget&)> save;     // as it closes
};

// The preview's captions: pairs of the English caption and the caption shown. The first pair
// whose English text matches wins; a caption without a pair shows in English.
using Captions = std::vector<std::pair<QString, QString>>;
QString caption(const Captions& captions, const QString& english);

// Qt's own dialogs (the printer dialog, the folder dialog) speak Russian: Qt's translation of
// its own texts is loaded once for the application. False when the translation is not installed.
bool installQtRussian();

}  // namespace pordex::report
