#include "platform/report/preview_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/report/page_painter.h"

namespace pordex::report {

// One page at the preview's zoom, painted by the same routine as the printer and the PDF.
class PageView : public QWidget {
  public:
    PageView(const ReportLayout& layout, QWidget* parent) : QWidget(parent), layout_(layout) {
        setObjectName(QStringLiteral("PreviewPage"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void show(const PageValues* values, QSizeF paperPoints, int zoom) {
        values_ = values;
        paper_ = paperPoints;
        zoom_ = zoom;
        const double scale = pixelsPerPoint();
        setFixedSize(static_cast<int>(paper_.width() * scale + 0.5),
                     static_cast<int>(paper_.height() * scale + 0.5));
        update();
    }

    double pixelsPerPoint() const { return zoom_ / 100.0 * logicalDpiX() / 72.0; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        if (!values_) return;
        setPageTransform(p, zoom_ / 100.0 * logicalDpiX());
        paintPage(p, layout_, *values_);
    }

  private:
    const ReportLayout& layout_;
    const PageValues* values_ = nullptr;
    QSizeF paper_;
    int zoom_ = 100;
};

namespace {

constexpr int kMinZoom = 10;
constexpr int kMaxZoom = 400;

QToolButton* toolButton(QToolBar* bar, const QString& name, QStyle::StandardPixmap icon) {
    auto* b = new QToolButton(bar);
    b->setObjectName(name);
    b->setIcon(bar->style()->standardIcon(icon));
    b->setAutoRaise(true);
    bar->addWidget(b);
    return b;
}

// The printer dialog is Qt's own. Its captions that the report's table names are shown as the
// table has them ("Name" -> "Принтер:"); the rest keep Qt's translation. Each entry: Qt's context
// and source text, then the table's English caption, and a second one joined after a blank
// (Qt's "Pages from" is the table's "Pages" and "from").
void applyPrinterCaptions(QPrintDialog& dialog, const Captions& captions) {
    struct Entry {
        const char* context;
        const char* source;
        const char* english;
        const char* english2;
    };
    static constexpr Entry entries[] = {
        {"QPrintWidget", "Printer", "Printer", nullptr},
        {"QPrintWidget", "&Name:", "Name", nullptr},
        {"QPrintWidget", "Type:", "Driver", nullptr},
        {"QPrintWidget", "Location:", "Where", nullptr},
        {"QPrintWidget", "P&roperties", "Properties...", nullptr},
        {"QPrintSettingsOutput", "Print range", "Pages", nullptr},
        {"QPrintSettingsOutput", "Print all", "All", nullptr},
        {"QPrintSettingsOutput", "Pages from", "Pages", "from"},
        {"QPrintSettingsOutput", "to", "to", nullptr},
        {"QPrintSettingsOutput", "Copies:", "Number of copies", nullptr},
        {"QPlatformTheme", "Cancel", "Cancel", nullptr},
    };
    auto find = [&captions](const char* english) -> const QString* {
        for (const auto& [from, to] : captions)
            if (from == QLatin1String(english)) return &to;
        return nullptr;
    };
    // Qt's text as shown -> the table's; each widget is matched once, on the text Qt gave it.
    std::vector<std::pair<QString, QString>> replace;
    for (const Entry& e : entries) {
        const QString* first = find(e.english);
        const QString* second = e.english2 ? find(e.english2) : nullptr;
        if (!first || (e.english2 && !second)) continue;
        replace.emplace_back(QCoreApplication::translate(e.context, e.source),
                             second ? *first + u' ' + *second : *first);
    }
    auto replaced = [&replace](const QString& shown) -> const QString* {
        for (const auto& [from, to] : replace)
            if (from == shown) return &to;
        return nullptr;
    };
    for (auto* l : dialog.findChildren<QLabel*>())
        if (const QString* t = replaced(l->text())) l->setText(*t);
    for (auto* b : dialog.findChildren<QAbstractButton*>())
        if (const QString* t = replaced(b->text())) b->setText(*t);
    for (auto* g : dialog.findChildren<QGroupBox*>())
        if (const QString* t = replaced(g->title())) g->setTitle(*t);
}

}  // namespace

PreviewWindow::PreviewWindow(QWidget* caller, const ReportLayout& layout,
                             std::vector<PageValues> pages, Options options)
    : QDialog(caller),
      layout_(layout),
      pages_(std::move(pages)),
      options_(std::move(options)),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(QStringLiteral("PreviewWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption("Preview"));
    setSizeGripEnabled(true);
    printer_->setFullPage(true);
    printer_->setDocName(QString::fromUtf8(layout_.name.data(), qsizetype(layout_.name.size())));

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);

    auto* tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("PreviewTools"));
    auto* printNow = tools->addAction(caption("Print"));
    printNow->setObjectName(QStringLiteral("PrintButton"));
    connect(printNow, &QAction::triggered, this, [this] { print(false); });
    auto* exitNow = tools->addAction(caption("Exit without printing"));
    exitNow->setObjectName(QStringLiteral("ExitButton"));
    connect(exitNow, &QAction::triggered, this, &QDialog::reject);
    tools->addSeparator();
    firstButton_ = toolButton(tools, QStringLiteral("FirstPage"), QStyle::SP_MediaSkipBackward);
    prevButton_ = toolButton(tools, QStringLiteral("PreviousPage"), QStyle::SP_MediaSeekBackward);
    pageLabel_ = new QLabel(tools);
    pageLabel_->setObjectName(QStringLiteral("PageLabel"));
    pageLabel_->setContentsMargins(6, 0, 6, 0);
    tools->addWidget(pageLabel_);
    nextButton_ = toolButton(tools, QStringLiteral("NextPage"), QStyle::SP_MediaSeekForward);
    lastButton_ = toolButton(tools, QStringLiteral("LastPage"), QStyle::SP_MediaSkipForward);
    connect(firstButton_, &QToolButton::clicked, this, [this] { showPage(0); });
    connect(prevButton_, &QToolButton::clicked, this, [this] { showPage(current_ - 1); });
    connect(nextButton_, &QToolButton::clicked, this, [this] { showPage(current_ + 1); });
    connect(lastButton_, &QToolButton::clicked, this, [this] { showPage(pageCount() - 1); });
    tools->addSeparator();
    auto* zoomLabel = new QLabel(caption("Zoom:"), tools);
    zoomLabel->setContentsMargins(6, 0, 4, 0);
    tools->addWidget(zoomLabel);
    zoomBox_ = new QSpinBox(tools);
    zoomBox_->setObjectName(QStringLiteral("ZoomBox"));
    zoomBox_->setRange(kMinZoom, kMaxZoom);
    zoomBox_->setSingleStep(10);
    zoomBox_->setSuffix(QStringLiteral(" %"));
    zoomBox_->setEnabled(options_.userZoom);
    tools->addWidget(zoomBox_);
    connect(zoomBox_, &QSpinBox::valueChanged, this, [this](int v) { setZoom(v); });

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("PreviewArea"));
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    view_ = new PageView(layout_, scroll_);
    scroll_->setWidget(view_);

    buildMenus();
    box->addWidget(tools);
    box->addWidget(scroll_, 1);

    zoom_ = std::clamp(options_.zoom, kMinZoom, kMaxZoom);
    {
        const QSignalBlocker block(zoomBox_);
        zoomBox_->setValue(zoom_);
    }
    resize(900, 700);
    showPage(0);
}

PreviewWindow::~PreviewWindow() = default;

QString PreviewWindow::caption(const char* english) const {
    return report::caption(options_.captions, QString::fromUtf8(english));
}

void PreviewWindow::buildMenus() {
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("PreviewMenu"));
    layout()->setMenuBar(bar);

    QMenu* file = bar->addMenu(caption("&File"));
    file->setObjectName(QStringLiteral("FileMenu"));
    QAction* a = file->addAction(caption("Print"));
    a->setObjectName(QStringLiteral("PrintAction"));
    connect(a, &QAction::triggered, this, [this] { print(false); });
    a = file->addAction(caption("Print current page"));
    a->setObjectName(QStringLiteral("PrintCurrentAction"));
    connect(a, &QAction::triggered, this, [this] { print(true); });
    a = file->addAction(caption("Print setup ...\tCtrl+P"));
    a->setObjectName(QStringLiteral("PrintSetupAction"));
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(a, &QAction::triggered, this, &PreviewWindow::printSetup);
    a = file->addAction(caption("Save\tCtrl+S"));
    a->setObjectName(QStringLiteral("SaveAction"));
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(a, &QAction::triggered, this, &PreviewWindow::save);
    file->addSeparator();
    a = file->addAction(caption("Exit"));
    a->setObjectName(QStringLiteral("ExitAction"));
    connect(a, &QAction::triggered, this, &QDialog::reject);

    QMenu* zoom = bar->addMenu(caption("Zoom"));
    zoom->setObjectName(QStringLiteral("ZoomMenu"));
    zoom->setEnabled(options_.userZoom);
    a = zoom->addAction(caption("Tile page"));
    a->setObjectName(QStringLiteral("ZoomNormalAction"));
    connect(a, &QAction::triggered, this, [this] { setZoom(100); });
    a = zoom->addAction(caption("Page width"));
    a->setObjectName(QStringLiteral("ZoomWidthAction"));
    connect(a, &QAction::triggered, this, &PreviewWindow::fitWidth);

    a = bar->addAction(caption("Page"));
    a->setObjectName(QStringLiteral("PageAction"));
    connect(a, &QAction::triggered, this, &PreviewWindow::goToPage);

    // Page keys move between pages wherever the focus is.
    auto* next = new QAction(this);
    next->setShortcut(QKeySequence(Qt::Key_PageDown));
    connect(next, &QAction::triggered, this, [this] { showPage(current_ + 1); });
    auto* prev = new QAction(this);
    prev->setShortcut(QKeySequence(Qt::Key_PageUp));
    connect(prev, &QAction::triggered, this, [this] { showPage(current_ - 1); });
    addAction(next);
    addAction(prev);
}

void PreviewWindow::start(std::function<void()> done) {
    done_ = std::move(done);
    connect(this, &QDialog::finished, this, [this] {
        if (options_.placement.save) options_.placement.save(*this);
        if (auto d = std::move(done_)) {
            done_ = nullptr;
            d();
        }
    });
    open();
    if (options_.placement.restore) options_.placement.restore(*this);
}

void PreviewWindow::showPage(int index) {
    if (pages_.empty()) {
        current_ = 0;
        view_->show(nullptr, printer_->pageLayout().fullRect(QPageLayout::Point).size(), zoom_);
    } else {
        current_ = std::clamp(index, 0, pageCount() - 1);
        view_->show(&pages_[static_cast<std::size_t>(current_)],
                    printer_->pageLayout().fullRect(QPageLayout::Point).size(), zoom_);
    }
    updatePageControls();
}

void PreviewWindow::setZoom(int percent) {
    if (!options_.userZoom && percent != options_.zoom) return;
    zoom_ = std::clamp(percent, kMinZoom, kMaxZoom);
    if (zoomBox_->value() != zoom_) {
        const QSignalBlocker block(zoomBox_);
        zoomBox_->setValue(zoom_);
    }
    showPage(current_);
}

void PreviewWindow::fitWidth() {
    const double paper = printer_->pageLayout().fullRect(QPageLayout::Point).width();
    const int room = scroll_->viewport()->width() - 2;
    const double atHundred = paper * view_->logicalDpiX() / 72.0;
    if (paper <= 0 || atHundred <= 0) return;
    setZoom(static_cast<int>(room * 100 / atHundred));
}

void PreviewWindow::updatePageControls() {
    const int n = pageCount();
    pageLabel_->setText(QStringLiteral("%1 %2 %3 %4")
                            .arg(caption("Page"))
                            .arg(n == 0 ? 0 : current_ + 1)
                            .arg(caption("of"))
                            .arg(n));
    firstButton_->setEnabled(current_ > 0);
    prevButton_->setEnabled(current_ > 0);
    nextButton_->setEnabled(current_ + 1 < n);
    lastButton_->setEnabled(current_ + 1 < n);
}

void PreviewWindow::goToPage() {
    if (pages_.empty()) return;
    auto* ask = new QInputDialog(this);
    ask->setObjectName(QStringLiteral("PageNumberDialog"));
    ask->setAttribute(Qt::WA_DeleteOnClose);
    ask->setWindowTitle(caption("Page"));
    ask->setInputMode(QInputDialog::IntInput);
    ask->setLabelText(
        QStringLiteral("%1 %2").arg(caption("Enter page number from 1 to")).arg(pageCount()));
    ask->setIntRange(1, pageCount());
    ask->setIntValue(current_ + 1);
    ask->setOkButtonText(QStringLiteral("OK"));
    ask->setCancelButtonText(caption("Cancel"));
    connect(ask, &QInputDialog::intValueSelected, this, [this](int page) { showPage(page - 1); });
    ask->open();
}

QPrinter& PreviewWindow::printer() {
    return *printer_;
}

void PreviewWindow::print(bool currentPageOnly) {
    if (pages_.empty()) return;
    installQtRussian();
    auto* dialog = new QPrintDialog(printer_.get(), this);
    dialog->setObjectName(QStringLiteral("PrintDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(caption("Print"));
    applyPrinterCaptions(*dialog, options_.captions);
    dialog->setOption(QAbstractPrintDialog::PrintCurrentPage, true);
    dialog->setMinMax(1, pageCount());
    dialog->setFromTo(1, pageCount());
    dialog->setPrintRange(currentPageOnly ? QAbstractPrintDialog::CurrentPage
                                          : QAbstractPrintDialog::AllPages);
    connect(dialog, &QDialog::accepted, this, [this] {
        int first = 0;
        int last = pageCount() - 1;
        switch (printer_->printRange()) {
            case QPrinter::CurrentPage:
                first = last = current_;
                break;
            case QPrinter::PageRange:
                first = std::max(printer_->fromPage(), 1) - 1;
                last = std::min(std::max(printer_->toPage(), first + 1), pageCount()) - 1;
                break;
            default:
                break;
        }
        printOnPrinter(first, last);
    });
    dialog->open();
}

void PreviewWindow::printOnPrinter(int first, int last) {
    printer_->setFullPage(true);
    if (!paintPages(*printer_, layout_, pages_, first, last)) {
        showMessage(caption("Print"), QStringLiteral("Печать не выполнена: принтер недоступен"),
                    true);
        return;
    }
    // Printed: the preview has done its work.
    accept();
}

void PreviewWindow::printSetup() {
    installQtRussian();
    auto* dialog = new QPageSetupDialog(printer_.get(), this);
    dialog->setObjectName(QStringLiteral("PrintSetupDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(caption("Print setup"));
    // The paper may have changed: the preview shows the page on the printer's paper.
    connect(dialog, &QDialog::accepted, this, [this] { showPage(current_); });
    dialog->open();
}

void PreviewWindow::save() {
    if (pages_.empty()) return;
    installQtRussian();
    auto* dialog = new QFileDialog(this, caption("Select destination folder"));
    dialog->setObjectName(QStringLiteral("SaveFolderDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly, true);
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& folder) {
        if (!folder.isEmpty()) saveTo(folder);
    });
    dialog->open();
}

bool PreviewWindow::saveTo(const QString& folder) {
    const QString name = QString::fromUtf8(layout_.name.data(), qsizetype(layout_.name.size()));
    const QString file = QDir(folder).filePath(name + QStringLiteral(".pdf"));
    const QString shown = QDir::toNativeSeparators(folder);
    if (!QDir(folder).exists() ||
        !writePdf(file, layout_, pages_, printer_->pageLayout().pageSize())) {
        showMessage(caption("Save report"),
                    QStringLiteral("Отчет не сохранен: нет доступа к директории %1").arg(shown),
                    true);
        return false;
    }
    showMessage(caption("Save report"),
                QStringLiteral("%1 %2").arg(caption("Report succesfully saved at folder"), shown),
                false);
    return true;
}

void PreviewWindow::showMessage(const QString& title, const QString& text, bool warning) {
    auto* box = new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Information, title,
                                text, QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("PreviewMessage"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

}  // namespace pordex::report
