#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

#include "platform/report/band.h"
#include "platform/report/window_support.h"

class QAction;
class QLabel;
class QPrinter;
class QScrollArea;
class QSpinBox;
class QToolButton;

namespace pordex::report {

class PageView;

// The print preview: shows a report's pages one at a time, lets the user zoom and move between
// pages, print (all pages or the current one) through the printer dialog, or save the pages as a
// PDF file in a folder. Printing happens only from here. Every caption goes through the
// report's caption table, so the program decides the language.
class PreviewWindow : public QDialog {
    Q_OBJECT
  public:
    struct Options {
        int zoom = 100;        // percent, at opening
        bool userZoom = true;  // the user may change it
        Captions captions;     // English caption -> caption shown
        WindowPlacement placement;
    };

    PreviewWindow(QWidget* caller, const ReportLayout& layout, std::vector<PageValues> pages,
                  Options options);
    ~PreviewWindow() override;

    // Opens window-modal on the caller; `done` is called once the window has closed.
    void start(std::function<void()> done);

    int pageCount() const { return static_cast<int>(pages_.size()); }
    int currentPage() const { return current_; }  // 0-based
    void showPage(int index);
    int zoom() const { return zoom_; }
    void setZoom(int percent);
    void fitWidth();

    // The actions of the menu and the tool bar.
    void goToPage();  // asks for a page number
    void print(bool currentPageOnly);
    void printSetup();
    void save();                         // asks for a folder and writes the report there as PDF
    bool saveTo(const QString& folder);  // writes <folder>/<report name>.pdf

    QPrinter& printer();
    QString caption(const char* english) const;

  private:
    void buildMenus();
    void updatePageControls();
    void printOnPrinter(int first, int last);
    void showMessage(const QString& title, const QString& text, bool warning);

    const ReportLayout& layout_;
    std::vector<PageValues> pages_;
    Options options_;
    std::unique_ptr<QPrinter> printer_;
    std::function<void()> done_;
    int current_ = 0;
    int zoom_ = 100;

    QScrollArea* scroll_ = nullptr;
    PageView* view_ = nullptr;
    QSpinBox* zoomBox_ = nullptr;
    QLabel* pageLabel_ = nullptr;
    QToolButton* firstButton_ = nullptr;
    QToolButton* prevButton_ = nullptr;
    QToolButton* nextButton_ = nullptr;
    QToolButton* lastButton_ = nullptr;
};

}  // namespace pordex::report
