#include "platform/ui/bound_controls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionSpinBox>
#include <algorithm>

#include "platform/runtime/codec.h"
#include "platform/runtime/date.h"
#include "platform/ui/picture_text.h"

namespace pordex::ui {
namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// Equal as the platform compares texts: trailing blanks do not count.
bool sameText(std::string_view a, std::string_view b) {
    while (!a.empty() && a.back() == ' ') a.remove_suffix(1);
    while (!b.empty() && b.back() == ' ') b.remove_suffix(1);
    return a == b;
}

// Up and down buttons as narrow as the desktop's own: the platform's style gives them a width
// that leaves a spin box designed for two characters no room to show them.
class NarrowSpinStyle : public QProxyStyle {
  public:
    QRect subControlRect(ComplexControl cc, const QStyleOptionComplex* option, SubControl sc,
                         const QWidget* widget) const override {
        if (cc != CC_SpinBox) return QProxyStyle::subControlRect(cc, option, sc, widget);
        const QRect r = option->rect;
        const int bw = buttonWidth(option);
        const int half = r.height() / 2;
        switch (sc) {
            case SC_SpinBoxUp:
                return visualRect(option->direction, r,
                                  QRect(r.right() - bw, r.top() + 1, bw, half - 1));
            case SC_SpinBoxDown:
                return visualRect(option->direction, r,
                                  QRect(r.right() - bw, r.top() + half, bw, r.height() - half - 1));
            case SC_SpinBoxEditField:
                return visualRect(
                    option->direction, r,
                    QRect(r.left() + 2, r.top() + 2, r.width() - bw - 4, r.height() - 4));
            default:
                return QProxyStyle::subControlRect(cc, option, sc, widget);
        }
    }

  private:
    static int buttonWidth(const QStyleOption* option) {
        return std::max(8, option->fontMetrics.averageCharWidth() + 4);
    }
};

QStyle* narrowSpinStyle() {
    static QPointer<QStyle> style;
    if (!style) {
        style = new NarrowSpinStyle;
        style->setParent(qApp);  // lives as long as the application's widgets
    }
    return style;
}

}  // namespace

bool isHistoryKey(const QKeyEvent* e) {
    if (!(e->modifiers() & Qt::ControlModifier)) return false;
    // Apostrophe on a Latin layout, "Э" on a Russian one; the same key either way (X11 keycode 48).
    return e->key() == Qt::Key_Apostrophe || e->key() == 0x042D || e->nativeScanCode() == 48;
}

// ---------------------------------------------------------------- PictureEntry

PictureEntry::PictureEntry(FieldRef field, std::string picture, QWidget* parent)
    : QLineEdit(parent), field_(field), picture_(std::move(picture)) {
    if (field_.isText() && !isValuePicture(picture_)) {
        const int w = pictureWidth(picture_);
        setMaxLength(static_cast<int>(w > 0 && static_cast<std::size_t>(w) < field_.width()
                                          ? static_cast<std::size_t>(w)
                                          : field_.width()));
    }
    connect(this, &QLineEdit::editingFinished, this, [this] {
        if (isModified() || invalid_) emit accepted();
    });
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (invalid_) markInvalid(false);
    });
}

void PictureEntry::display() {
    setText(qs(ui::displayText(field_, picture_)));
    setCursorPosition(0);  // the start of a long text shows, as in any entry just filled
    setModified(false);
    markInvalid(false);
}

bool PictureEntry::take() {
    if (!acceptText(field_, picture_, text().toStdString())) {
        markInvalid(true);
        return false;
    }
    setModified(false);
    markInvalid(false);
    return true;
}

bool PictureEntry::editing() const {
    return hasFocus() && (isModified() || invalid_);
}

void PictureEntry::markInvalid(bool invalid) {
    if (invalid_ == invalid) return;
    invalid_ = invalid;
    if (invalid) {
        normalPalette_ = palette();
        QPalette p = normalPalette_;
        p.setColor(QPalette::Text, Qt::red);
        setPalette(p);
    } else {
        setPalette(normalPalette_);
    }
}

void PictureEntry::mouseDoubleClickEvent(QMouseEvent* e) {
    QLineEdit::mouseDoubleClickEvent(e);
    emit doubleClicked();
}

// ---------------------------------------------------------------- ValueSpin

ValueSpin::ValueSpin(FieldRef field, std::string picture, std::string_view values, QWidget* parent)
    : QAbstractSpinBox(parent), field_(field), picture_(std::move(picture)) {
    if (!values.empty()) {
        std::size_t start = 0;
        for (;;) {
            const std::size_t bar = values.find('|', start);
            values_.emplace_back(values.substr(start, bar - start));
            if (bar == std::string_view::npos) break;
            start = bar + 1;
        }
        // The arrows choose; the text is not typed.
        setReadOnly(true);
        lineEdit()->setReadOnly(true);
    }
    setStyle(narrowSpinStyle());
    setAccelerated(false);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    connect(this, &QAbstractSpinBox::editingFinished, this, [this] {
        if (values_.empty() && lineEdit()->isModified()) emit accepted();
    });
}

int ValueSpin::findIndex() const {
    if (field_.isText()) {
        const std::string current(field_.raw());
        for (std::size_t i = 0; i < values_.size(); ++i) {
            std::string v = utf8ToCp1251(values_[i]);
            if (v.size() > field_.width()) v.resize(field_.width());
            if (sameText(v, current)) return static_cast<int>(i);
        }
        return -1;
    }
    const std::string shown = ui::displayText(field_, picture_);
    for (std::size_t i = 0; i < values_.size(); ++i)
        if (sameText(values_[i], shown)) return static_cast<int>(i);
    return -1;
}

void ValueSpin::display() {
    if (!values_.empty()) {
        index_ = findIndex();
        lineEdit()->setText(index_ >= 0 ? qs(values_[static_cast<std::size_t>(index_)])
                                        : qs(ui::displayText(field_, picture_)));
    } else {
        lineEdit()->setText(qs(ui::displayText(field_, picture_)));
    }
    lineEdit()->setCursorPosition(0);  // the start of the value shows, as in an entry
    lineEdit()->setModified(false);
    update();
}

bool ValueSpin::take() {
    // The arrows write each value as they choose it. Writing it again here would put back a value
    // an entry on the same field has replaced since.
    if (!values_.empty()) return true;
    if (!acceptText(field_, picture_, lineEdit()->text().toStdString())) return false;
    lineEdit()->setModified(false);
    return true;
}

bool ValueSpin::editing() const {
    return values_.empty() && hasFocus() && lineEdit()->isModified();
}

void ValueSpin::stepBy(int steps) {
    if (!values_.empty()) {
        const int last = static_cast<int>(values_.size()) - 1;
        int i = index_ < 0 ? (steps > 0 ? steps - 1 : 0) : index_ + steps;
        i = std::clamp(i, 0, last);
        if (i == index_) return;
        index_ = i;
        acceptText(field_, "", values_[static_cast<std::size_t>(index_)]);
        lineEdit()->setText(qs(values_[static_cast<std::size_t>(index_)]));
        lineEdit()->setCursorPosition(0);
        update();
        emit accepted();
        return;
    }
    // A typed value counts from where the user left it.
    if (lineEdit()->isModified() && !take()) return;
    double v = field_.number();
    if (v == 0 && isDatePicture(picture_)) v = today() - steps;
    field_.setNumber(v + steps);
    display();
    emit accepted();
}

QAbstractSpinBox::StepEnabled ValueSpin::stepEnabled() const {
    if (values_.empty()) return StepUpEnabled | StepDownEnabled;
    StepEnabled e = StepNone;
    const int last = static_cast<int>(values_.size()) - 1;
    if (index_ < last) e |= StepUpEnabled;
    if (index_ != 0) e |= StepDownEnabled;
    return e;
}

void ValueSpin::mouseDoubleClickEvent(QMouseEvent* e) {
    QAbstractSpinBox::mouseDoubleClickEvent(e);
    emit doubleClicked();
}

void ValueSpin::keyPressEvent(QKeyEvent* e) {
    // Enter completes a typed value. The spin box's own handling of Enter marks the text as not
    // typed, so without this the value would be dropped at the next display.
    if (values_.empty() && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
        lineEdit()->isModified())
        emit accepted();
    QAbstractSpinBox::keyPressEvent(e);
}

// ---------------------------------------------------------------- TextBoxControl

TextBoxControl::TextBoxControl(FieldRef field, QWidget* parent)
    : QPlainTextEdit(parent), field_(field) {
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void TextBoxControl::display() {
    setPlainText(QString::fromStdString(field_.utf8()));
    document()->setModified(false);
}

bool TextBoxControl::take() {
    QString t = toPlainText();
    t.replace(QLatin1Char('\n'), QLatin1Char(' '));
    field_.setUtf8(t.toStdString());
    document()->setModified(false);
    return true;
}

bool TextBoxControl::editing() const {
    return hasFocus() && document()->isModified();
}

void TextBoxControl::focusOutEvent(QFocusEvent* e) {
    QPlainTextEdit::focusOutEvent(e);
    if (document()->isModified()) emit accepted();
}

void TextBoxControl::keyPressEvent(QKeyEvent* e) {
    // One text: Enter completes it rather than breaking the line.
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && e->modifiers() == 0) {
        if (document()->isModified()) emit accepted();
        return;
    }
    // The field holds a fixed number of characters: a full box takes no more.
    const bool inserts = !e->text().isEmpty() && e->text().at(0).isPrint();
    if (inserts && !textCursor().hasSelection() &&
        toPlainText().size() >= static_cast<qsizetype>(field_.width())) {
        QApplication::beep();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

// ---------------------------------------------------------------- DisplayString

DisplayString::DisplayString(FieldRef field, std::string picture, QWidget* parent)
    : QLabel(parent), field_(field), picture_(std::move(picture)) {
    setTextFormat(Qt::PlainText);
}

void DisplayString::display() {
    setText(qs(ui::displayText(field_, picture_)));
}

// ---------------------------------------------------------------- CheckControl

CheckControl::CheckControl(FieldRef field, const QString& text, QWidget* parent)
    : QCheckBox(text, parent), field_(field) {}

void CheckControl::display() {
    setChecked(field_.number() != 0);
}

bool CheckControl::take() {
    field_.setNumber(isChecked() ? 1 : 0);
    return true;
}

}  // namespace pordex::ui
