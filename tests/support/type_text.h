#pragma once

#include <QString>

class QWidget;

namespace pordex::test {

// QTest::keyClicks aborts on non-ASCII text, so Cyrillic is typed one key event at a time.
void typeText(QWidget* widget, const QString& text);

}  // namespace pordex::test
