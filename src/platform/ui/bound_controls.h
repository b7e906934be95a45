#pragma once

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <string>
#include <vector>

#include "platform/ui/field_ref.h"

namespace pordex::ui {

// A control that shows a variable and takes what the user typed back into it.
class BoundControl {
  public:
    virtual ~BoundControl() = default;
    // Variable -> control.
    virtual void display() = 0;
    // Control -> variable; false (variable unchanged) when the text cannot be read.
    virtual bool take() = 0;
    // True while the user has typed something not yet taken into the variable.
    virtual bool editing() const { return false; }
    virtual FieldRef field() const = 0;
};

// An entry with a display picture: formats on display, reads on accept.
class PictureEntry : public QLineEdit, public BoundControl {
    Q_OBJECT
  public:
    PictureEntry(FieldRef field, std::string picture, QWidget* parent = nullptr);
    void display() override;
    bool take() override;
    bool editing() const override;
    FieldRef field() const override { return field_; }
    const std::string& picture() const { return picture_; }

  signals:
    // The user finished an edit (Enter, or leaving a changed entry).
    void accepted();
    void doubleClicked();

  protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override;

  private:
    void markInvalid(bool invalid);

    FieldRef field_;
    std::string picture_;
    bool invalid_ = false;
    QPalette normalPalette_;
};

// A spin box. With a list of values ("01|02|03") its arrows step through the list and write the
// chosen value into the field; without one it steps a number or a date by one.
class ValueSpin : public QAbstractSpinBox, public BoundControl {
    Q_OBJECT
  public:
    ValueSpin(FieldRef field, std::string picture, std::string_view values,
              QWidget* parent = nullptr);
    void display() override;
    bool take() override;
    bool editing() const override;
    FieldRef field() const override { return field_; }

    void stepBy(int steps) override;
    const std::vector<std::string>& values() const { return values_; }
    int index() const { return index_; }
    StepEnabled stepEnabled() const override;

  signals:
    // A value was chosen with the arrows, or typed and accepted.
    void accepted();
    void doubleClicked();

  protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    int findIndex() const;

    FieldRef field_;
    std::string picture_;
    std::vector<std::string> values_;  // UTF-8
    int index_ = -1;
};

// A multi-line entry bound to a text field. Line breaks are not kept (the field is one text).
class TextBoxControl : public QPlainTextEdit, public BoundControl {
    Q_OBJECT
  public:
    explicit TextBoxControl(FieldRef field, QWidget* parent = nullptr);
    void display() override;
    bool take() override;
    bool editing() const override;
    FieldRef field() const override { return field_; }

  signals:
    void accepted();

  protected:
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    FieldRef field_;
};

// A read-only text showing a variable in a picture.
class DisplayString : public QLabel, public BoundControl {
    Q_OBJECT
  public:
    DisplayString(FieldRef field, std::string picture, QWidget* parent = nullptr);
    void display() override;
    bool take() override { return true; }
    FieldRef field() const override { return field_; }

  private:
    FieldRef field_;
    std::string picture_;
};

// A check box on a number: checked = 1.
class CheckControl : public QCheckBox, public BoundControl {
    Q_OBJECT
  public:
    CheckControl(FieldRef field, const QString& text, QWidget* parent = nullptr);
    void display() override;
    bool take() override;
    FieldRef field() const override { return field_; }

  private:
    FieldRef field_;
};

// The key that fetches a field's value from the history copy: Ctrl with the apostrophe key
// (Windows virtual key 0DEh, "Э" on a Russian keyboard); the system numbers it 734.
inline constexpr int kHistoryKeyCode = 734;
bool isHistoryKey(const QKeyEvent* e);

}  // namespace pordex::ui
