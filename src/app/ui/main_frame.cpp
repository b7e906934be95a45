#include "app/ui/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>

#include "app/ui/sign_on.h"
#include "app/ui/window_starts.h"
#include "platform/files/error_manager.h"
#include "platform/ui/printer_setup.h"
#include "platform/ui/settings_store.h"
#include "platform/ui/window_procedure.h"

namespace pordex::app {
namespace {

constexpr std::string_view kSection = "Main";

// The frame's client area with its wallpaper; the program's windows count their places from it.
class Wallpaper : public QWidget {
  public:
    explicit Wallpaper(QWidget* parent)
        : QWidget(parent), image_(QStringLiteral(":/images/tiv8.png")) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        // Covers the area without distorting the picture: scaled to the larger ratio, centred.
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        if (image_.isNull()) return;
        const QSize s = image_.size().scaled(size(), Qt::KeepAspectRatioByExpanding);
        const QRect target(QPoint((width() - s.width()) / 2, (height() - s.height()) / 2), s);
        p.drawPixmap(target, image_);
    }

  private:
    QPixmap image_;
};

}  // namespace

MainFrame::MainFrame(WindowThread& mainThread)
    : thread_(mainThread), units_(ui::windowFont("MS Sans Serif", 8)) {
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Подготовка платежных поручений"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/tiv5.png")));
    setCentralWidget(new Wallpaper(this));
    menuBar()->setNativeMenuBar(false);

    QMenu* printer = menuBar()->addMenu(QStringLiteral("&Установка принтера"));
    printer->setObjectName(QStringLiteral("?PrinterMenu"));
    printerSetup_ = printer->addAction(QStringLiteral("&Выбор и установки принтера"));
    printerSetup_->setObjectName(QStringLiteral("?PrintSetup"));
    printerSetup_->setStatusTip(QStringLiteral("Setup printer"));
    printer->addSeparator();
    exit_ = printer->addAction(QStringLiteral("Выход"));
    exit_->setObjectName(QStringLiteral("?Exit"));
    exit_->setStatusTip(QStringLiteral("Exit this application"));

    QMenu* start = menuBar()->addMenu(QStringLiteral("&Запуск системы"));
    start->setObjectName(QStringLiteral("?StartMenu"));
    signOn_ = start->addAction(QStringLiteral("Ввод кода и пароля для запуска системы"));
    signOn_->setObjectName(QStringLiteral("?SignOn"));
    signOn_->setStatusTip(QStringLiteral("Remove item to Windows Clipboard"));

    statusBar()->setSizeGripEnabled(true);

    connect(printerSetup_, &QAction::triggered, this, [this] { ui::openPrinterSetup(this); });
    connect(exit_, &QAction::triggered, this, &QWidget::close);
    // A new sign-on window each time; the frame goes on at once.
    connect(signOn_, &QAction::triggered, this, [] { startOnNewThread<SignOn>(); });

    ui::setDesktopOrigin([this] { return centralWidget()->mapToGlobal(QPoint(0, 0)); });
}

MainFrame::~MainFrame() {
    ui::setDesktopOrigin({});
}

void MainFrame::open() {
    thread_.GlobalRequest = 0;
    thread_.GlobalResponse = 0;
    files::globalErrors().setProcedureName(kSection);
    restorePlacement();
    show();
}

void MainFrame::restorePlacement() {
    const QSize client = units_.size(kWidth, kHeight);
    const int chrome = menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
    setMinimumSize(units_.size(160, 100));
    const ui::StoredPlacement s = ui::iniMgr().fetch(kSection);
    QSize size(client.width(), client.height() + chrome);
    if (s.width && s.height) size = QSize(units_.x(*s.width), units_.y(*s.height) + chrome);
    resize(size);
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->availableGeometry()
                             : QRect(0, 0, 1024, 768);
    if (s.x && s.y) {
        move(screen.topLeft() + units_.point(*s.x, *s.y));
    } else {
        move(screen.center() - QPoint(size.width() / 2, size.height() / 2));
    }
    Qt::WindowStates st = Qt::WindowNoState;
    if (s.maximize) st |= Qt::WindowMaximized;
    if (s.minimize) st |= Qt::WindowMinimized;
    setWindowState(st);
}

void MainFrame::savePlacement() {
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->availableGeometry()
                             : QRect(0, 0, 1024, 768);
    const bool normal = !(isMaximized() || isMinimized()) || !normalGeometry().isValid();
    const QPoint frameOffset = geometry().topLeft() - pos();
    const QPoint framePos = normal ? pos() : normalGeometry().topLeft() - frameOffset;
    const QSize size = normal ? this->size() : normalGeometry().size();
    const int chrome = menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
    ui::Placement p;
    p.x = units_.fromX(framePos.x() - screen.x());
    p.y = units_.fromY(framePos.y() - screen.y());
    p.width = units_.fromX(size.width());
    p.height = units_.fromY(size.height() - chrome);
    p.maximize = isMaximized();
    p.minimize = isMinimized();
    ui::iniMgr().update(kSection, p, true);
}

void MainFrame::endProgram(int status) {
    status_ = status;
    close();
}

void MainFrame::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    closing_ = true;
    savePlacement();
    // Every other window ends with the frame (their threads close their files).
    ui::WindowProcedure::closeAll();
    files::globalErrors().setProcedureName();
    thread_.GlobalResponse = ui::WindowProcedure::RequestCompleted;
    event->accept();
    emit ended(status_);
}

}  // namespace pordex::app
