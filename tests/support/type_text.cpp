#include "support/type_text.h"

#include <QTest>
#include <QWidget>

namespace pordex::test {

void typeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        QTest::sendKeyEvent(QTest::KeyAction::Click, widget, Qt::Key_unknown, QString(c),
                            Qt::NoModifier);
    }
}

}  // namespace pordex::test
