#include "platform/ui/window_procedure.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>

#include "platform/files/error_manager.h"
#include "platform/ui/bound_controls.h"
#include "platform/ui/browse_list.h"
#include "platform/ui/picture_text.h"
#include "platform/ui/record_slots.h"
#include "platform/ui/settings_store.h"

namespace pordex::ui {

// The client area below the menu bar: the controls' parent, with the window's wallpaper.
class ClientArea : public QWidget {
  public:
    explicit ClientArea(QWidget* parent) : QWidget(parent) {}
    void setWallpaper(const QPixmap& p) {
        wallpaper_ = p;
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        if (wallpaper_.isNull()) return;
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(rect(), wallpaper_);
    }

  private:
    QPixmap wallpaper_;
};

namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

std::vector<WindowProcedure*>& registry() {
    static std::vector<WindowProcedure*> windows;
    return windows;
}

QPointer<WindowProcedure>& currentWindow() {
    static QPointer<WindowProcedure> w;
    return w;
}

std::function<QPoint()>& originProvider() {
    static std::function<QPoint()> provider;
    return provider;
}

QColor colorOf(Color c) {
    switch (c) {
        case Color::Default:
            return {};
        case Color::Red:
            return QColor(255, 0, 0);
        case Color::Blue:
            return QColor(0, 0, 255);
        case Color::Purple:
            return QColor(128, 0, 128);
        case Color::Green:
            return QColor(0, 128, 0);
        case Color::Olive:
            return QColor(128, 128, 0);
        case Color::Maroon:
            return QColor(128, 0, 0);
        case Color::Navy:
            return QColor(0, 0, 128);
        case Color::Gray:
            return QColor(128, 128, 128);
    }
    return {};
}

QString tooltipText(const std::vector<std::string_view>& lines) {
    QStringList l;
    for (std::string_view s : lines) l << qs(s);
    return l.join(QLatin1Char('\n'));
}

// Kinds that grow with the window; the others keep their size and keep their place in
// proportion.
bool stretches(ControlKind k) {
    return k == ControlKind::List || k == ControlKind::Sheet || k == ControlKind::Group ||
           k == ControlKind::TextBox;
}

// Entries drawn compactly enough for the heights windows are designed with. Spin boxes keep the
// style's own drawing: a style sheet that frames them takes their arrows away as well. The entry
// inside a spin box is framed by the spin box, not by the rule for entries.
const char* const kCompactStyle =
    "QLineEdit { padding: 0px 1px; border: 1px solid palette(mid); background: palette(base); }"
    "QLineEdit:focus { border: 1px solid palette(highlight); }"
    "QLineEdit:read-only { background: palette(window); }"
    "QAbstractSpinBox QLineEdit, QAbstractSpinBox QLineEdit:focus,"
    " QAbstractSpinBox QLineEdit:read-only { border: none; padding: 0px; background: transparent; }"
    "QPlainTextEdit { border: 1px solid palette(mid); }";

}  // namespace

QPoint desktopOrigin() {
    if (originProvider()) return originProvider()();
    if (QScreen* s = QGuiApplication::primaryScreen()) return s->availableGeometry().topLeft();
    return {};
}

void setDesktopOrigin(std::function<QPoint()> origin) {
    originProvider() = std::move(origin);
}

// ---------------------------------------------------------------- life

WindowProcedure::WindowProcedure(WindowThread& thread, WindowProcedure* caller,
                                 const WindowDecl& decl)
    : QDialog(caller),
      thread_(&thread),
      caller_(caller),
      decl_(decl),
      font_(windowFont(decl.font, decl.fontSize)),
      units_(font_) {
    setObjectName(qs(decl.procedure));
    setFont(font_);
    setWindowTitle(qs(decl.title));
    if (!decl.icon.empty()) setWindowIcon(QIcon(qs(decl.icon)));
    // No "?" button; independent windows get a minimize box like the original's windows.
    Qt::WindowFlags f =
        Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (!caller) f |= Qt::WindowMinimizeButtonHint;
    if (decl.resizable) f |= Qt::WindowMaximizeButtonHint;
    setWindowFlags(f);
    setSizeGripEnabled(false);
    registry().push_back(this);
}

WindowProcedure::~WindowProcedure() {
    auto& r = registry();
    r.erase(std::remove(r.begin(), r.end(), this), r.end());
    // The controls reach into the thread's buffers: they go before the thread does.
    const auto children = findChildren<QObject*>(Qt::FindDirectChildrenOnly);
    for (QObject* c : children) delete c;
}

void WindowProcedure::adoptThread(std::unique_ptr<WindowThread> thread) {
    ownThread_ = std::move(thread);
    thread_ = ownThread_.get();
}

void WindowProcedure::run(Done done) {
    done_ = std::move(done);
    // The request of the caller, handed through the thread's globals.
    request_ = thread_->GlobalRequest;
    thread_->GlobalRequest = 0;
    thread_->GlobalResponse = 0;
    response_ = 0;
    previousProcedure_ = files::globalErrors().procedureName();
    files::globalErrors().setProcedureName(decl_.procedure);

    init();
    if (closing_) return;  // init may end the window (a file that would not open)
    build();
    opened();
    reset(true);
    restorePlacement();
    opened_ = true;
    currentWindow() = this;
    if (caller_) {
        open();  // window-modal on the caller, no event loop of its own
    } else {
        show();
    }
    if (windowState() & Qt::WindowMinimized) showMinimized();
}

void WindowProcedure::closeWith(BYTE response) {
    if (closing_) return;
    closing_ = true;
    // A window still running nested on this one ends first.
    if (nested_) nested_->closeWith(RequestCancelled);
    response_ = response;
    if (opened_) savePlacement();
    kill();
    finish();
}

void WindowProcedure::finish() {
    files::ErrorManager& errors = files::globalErrors();
    if (caller_ && !previousProcedure_.empty())
        errors.setProcedureName(previousProcedure_);
    else
        errors.setProcedureName();
    thread_->GlobalResponse = response_;
    if (currentWindow() == this) currentWindow() = caller_;
    const BYTE response = response_;
    hide();
    setResult(response);
    Done done = std::move(done_);
    done_ = nullptr;
    emit ended(response);
    if (done) done(response);
    deleteLater();
}

WindowProcedure* WindowProcedure::current() {
    WindowProcedure* w = currentWindow();
    if (!w) {
        // After the current one closed with no caller: the last one opened still open.
        for (WindowProcedure* x : registry())
            if (x->opened_ && !x->closing_) w = x;
    }
    // A window whose nested window runs is blocked: the nested one is where the user is.
    while (w && w->nested_ && w->nested_->opened_ && !w->nested_->closing_) w = w->nested_;
    return w;
}

std::vector<WindowProcedure*> WindowProcedure::liveWindows() {
    return registry();
}

void WindowProcedure::closeAll() {
    // Independent windows first close their nested ones themselves.
    std::vector<QPointer<WindowProcedure>> all;
    for (WindowProcedure* w : registry())
        if (!w->caller_) all.emplace_back(w);
    for (const QPointer<WindowProcedure>& w : all)
        if (w && !w->closing_) w->closeWith(RequestCancelled);
}

void WindowProcedure::runNested(WindowProcedure* window, BYTE request, Done done) {
    nested_ = window;
    thread_->GlobalRequest = request;
    QPointer<WindowProcedure> self(this);
    window->run([self, done = std::move(done)](BYTE response) {
        if (!self) return;
        self->nested_ = nullptr;
        // A caller that is itself ending does not go on.
        if (done && !self->closing_) done(response);
    });
}

// ---------------------------------------------------------------- variables

void WindowProcedure::bindVariable(std::string_view name, FieldRef ref) {
    variables_[std::string(name)] = ref;
}

FieldRef WindowProcedure::resolve(std::string_view use) const {
    if (use.empty()) return {};
    if (auto it = variables_.find(use); it != variables_.end()) return it->second;
    return recordField(thread_->dct, use);
}

// ---------------------------------------------------------------- controls

int WindowProcedure::controlNumber(std::string_view name) const {
    for (const Control& c : controls_)
        if (c.decl->name == name) return c.number;
    return 0;
}

QWidget* WindowProcedure::control(std::string_view name) const {
    return control(controlNumber(name));
}

QWidget* WindowProcedure::control(int number) const {
    if (number < 1 || number > static_cast<int>(controls_.size())) return nullptr;
    return controls_[static_cast<std::size_t>(number - 1)].widget;
}

QAction* WindowProcedure::menuItem(std::string_view name) const {
    return menuItem(controlNumber(name));
}

QAction* WindowProcedure::menuItem(int number) const {
    if (number < 1 || number > static_cast<int>(controls_.size())) return nullptr;
    return controls_[static_cast<std::size_t>(number - 1)].action;
}

void WindowProcedure::setResponseButton(std::string_view name, BYTE response) {
    if (const int n = controlNumber(name)) responseButtons_[n] = response;
}

void WindowProcedure::setOkControl(std::string_view name) {
    okControl_ = controlNumber(name);
}

void WindowProcedure::setCancelControl(std::string_view name) {
    cancelControl_ = controlNumber(name);
}

QWidget* WindowProcedure::clientArea() const {
    return client_;
}

void WindowProcedure::build() {
    if (built_) return;
    built_ = true;
    client_ = new ClientArea(this);
    client_->setStyleSheet(QString::fromLatin1(kCompactStyle));
    if (!decl_.wallpaper.empty()) client_->setWallpaper(QPixmap(qs(decl_.wallpaper)));
    controls_.reserve(decl_.controls.size());
    QMenu* lastMenu = nullptr;
    QWidget* lastSheet = nullptr;
    int n = 0;
    for (const ControlDecl& d : decl_.controls) {
        controls_.push_back(Control{&d, ++n});
        buildControl(controls_.back(), lastMenu, lastSheet);
    }
    // Sheets and groups are backgrounds: the controls declared on them lie above them.
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        const ControlKind k = it->decl->kind;
        if (it->widget && (k == ControlKind::Sheet || k == ControlKind::Group)) it->widget->lower();
    }
    const int menuHeight = menuBar_ ? menuBar_->sizeHint().height() : 0;
    const QSize designed = units_.size(decl_.w, decl_.h);
    const QSize whole(designed.width(), designed.height() + menuHeight);
    if (decl_.resizable) {
        setMinimumSize(whole);
    } else {
        setFixedSize(whole);
    }
    resize(whole);
    layoutControls();
}

void WindowProcedure::applyLook(QWidget* w, const ControlDecl& d) {
    if (!d.name.empty()) w->setObjectName(qs(d.name));
    if (d.bold || d.fontSize > 0) {
        QFont f = font_;
        if (d.bold) f.setBold(true);
        if (d.fontSize > 0) f.setPointSize(d.fontSize);
        w->setFont(f);
    }
    if (const QColor c = colorOf(d.color); c.isValid()) {
        QPalette p = w->palette();
        p.setColor(QPalette::WindowText, c);
        p.setColor(QPalette::ButtonText, c);
        p.setColor(QPalette::Text, c);
        w->setPalette(p);
    }
    if (!d.tooltip.empty()) w->setToolTip(tooltipText(d.tooltip));
    if (d.hidden) w->setVisible(false);
}

void WindowProcedure::buildControl(Control& c, QMenu*& lastMenu, QWidget*& lastSheet) {
    const ControlDecl& d = *c.decl;
    const int number = c.number;
    const QString text = qs(d.text);
    switch (d.kind) {
        case ControlKind::Menu: {
            if (!menuBar_) {
                menuBar_ = new QMenuBar(this);
                menuBar_->setNativeMenuBar(false);
            }
            lastMenu = menuBar_->addMenu(text);
            lastMenu->setObjectName(qs(d.name));
            c.menu = lastMenu;
            c.action = lastMenu->menuAction();
            return;
        }
        case ControlKind::Item: {
            if (!lastMenu) return;
            if (d.text == "-") {
                c.action = lastMenu->addSeparator();
                return;
            }
            c.action = lastMenu->addAction(text);
            c.action->setObjectName(qs(d.name));
            if (!d.status.empty()) c.action->setStatusTip(qs(d.status));
            connect(c.action, &QAction::triggered, this,
                    [this, number] { controlAccepted(number); });
            return;
        }
        case ControlKind::Prompt: {
            auto* l = new QLabel(text, client_);
            l->setTextFormat(Qt::PlainText);
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            c.widget = l;
            break;
        }
        case ControlKind::String: {
            auto* s = new DisplayString(resolve(d.use), std::string(d.picture), client_);
            s->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            if (!d.use.empty()) {
                c.bound = s;
            } else {
                s->setText(text);
            }
            c.widget = s;
            break;
        }
        case ControlKind::Entry: {
            auto* e = new PictureEntry(resolve(d.use), std::string(d.picture), client_);
            if (d.password) e->setEchoMode(QLineEdit::Password);
            connect(e, &PictureEntry::accepted, this, [this, number] { controlAccepted(number); });
            connect(e, &PictureEntry::doubleClicked, this,
                    [this, number] { takeFieldEvent(number, FieldEvent::DoubleClick); });
            e->installEventFilter(this);
            c.widget = e;
            c.bound = e;
            break;
        }
        case ControlKind::Spin: {
            auto* s = new ValueSpin(resolve(d.use), std::string(d.picture), d.values, client_);
            connect(s, &ValueSpin::accepted, this, [this, number] { controlAccepted(number); });
            connect(s, &ValueSpin::doubleClicked, this,
                    [this, number] { takeFieldEvent(number, FieldEvent::DoubleClick); });
            s->installEventFilter(this);
            c.widget = s;
            c.bound = s;
            break;
        }
        case ControlKind::TextBox: {
            auto* t = new TextBoxControl(resolve(d.use), client_);
            connect(t, &TextBoxControl::accepted, this,
                    [this, number] { controlAccepted(number); });
            t->installEventFilter(this);
            c.widget = t;
            c.bound = t;
            break;
        }
        case ControlKind::Button: {
            auto* b = new QPushButton(text, client_);
            b->setAutoDefault(false);
            b->setDefault(false);
            if (!d.icon.empty()) {
                b->setIcon(QIcon(qs(d.icon)));
                const QRect r = units_.rect(0, 0, d.w > 0 ? d.w : 14, d.h > 0 ? d.h : 14);
                const int side = std::max(8, std::min(r.width(), r.height()) - 4);
                b->setIconSize(QSize(side, side));
            }
            connect(b, &QPushButton::clicked, this, [this, number] { controlAccepted(number); });
            c.widget = b;
            break;
        }
        case ControlKind::Check: {
            auto* k = new CheckControl(resolve(d.use), text, client_);
            connect(k, &QCheckBox::clicked, this, [this, number] { controlAccepted(number); });
            c.widget = k;
            c.bound = k;
            break;
        }
        case ControlKind::Group: {
            c.widget = new QGroupBox(text, client_);
            break;
        }
        case ControlKind::Sheet: {
            auto* t = new QTabWidget(client_);
            t->setDocumentMode(false);
            lastSheet = t;
            c.widget = t;
            break;
        }
        case ControlKind::Tab: {
            if (auto* t = qobject_cast<QTabWidget*>(lastSheet)) {
                auto* page = new QWidget(t);
                page->setObjectName(qs(d.name));
                t->addTab(page, text);
                c.widget = page;
            }
            return;  // the sheet places its pages
        }
        case ControlKind::List: {
            auto* l = new BrowseList(*this, d, client_);
            c.widget = l;
            break;
        }
        case ControlKind::Image: {
            auto* l = new QLabel(client_);
            l->setPixmap(QPixmap(qs(d.icon.empty() ? d.text : d.icon)));
            l->setScaledContents(true);
            c.widget = l;
            break;
        }
    }
    if (c.widget) {
        c.widget->setProperty("controlNumber", number);
        applyLook(c.widget, d);
    }
}

// Four units a character is the average character; digits and capitals are wider in this
// platform's fonts, and a full account number or a two-letter code would lose its first
// characters out of sight. An entry of the default width is therefore at least as wide as its
// longest text: the widest value of a spin box on the same variable, else as many digits as its
// picture writes (capitals for the one- and two-character codes), plus its frame and cursor.
int WindowProcedure::entryWidthForText(const Control& c) const {
    const ControlDecl& d = *c.decl;
    auto* e = qobject_cast<QLineEdit*>(c.widget);
    if (!e) return 0;
    e->ensurePolished();
    const QFontMetrics fm(e->font());
    int widest = 0;
    for (const Control& other : controls_) {
        if (other.decl->kind != ControlKind::Spin || other.decl->use != d.use || !other.widget)
            continue;
        for (const std::string& v : static_cast<ValueSpin*>(other.widget)->values())
            widest = std::max(widest, fm.horizontalAdvance(QString::fromStdString(v)));
    }
    if (widest == 0) {
        const int n = pictureWidth(d.picture);
        widest = isDatePicture(d.picture)
                     ? fm.horizontalAdvance(QStringLiteral("00/00/0000"))
                     : fm.horizontalAdvance(
                           QString(std::max(n, 1), n <= 2 ? QLatin1Char('N') : QLatin1Char('0')));
    }
    // What the entry adds around its text: the frame and margins of its size hint (seventeen
    // "x" wide plus those), and the cursor.
    const int chrome = e->sizeHint().width() - fm.horizontalAdvance(QLatin1Char('x')) * 17 + 1;
    return widest + chrome;
}

QRect WindowProcedure::designedRect(const Control& c) const {
    const ControlDecl& d = *c.decl;
    const QFontMetrics fm(c.widget->font());
    const int textH = fm.height();
    int w = d.w > 0 ? units_.x(d.w) : -1;
    int h = d.h > 0 ? units_.y(d.h) : -1;
    const int chars = pictureWidth(d.picture);
    switch (d.kind) {
        case ControlKind::Prompt:
        case ControlKind::String: {
            if (w < 0) {
                w = chars > 0 && d.kind == ControlKind::String && !d.use.empty()
                        ? units_.x(chars * 4)
                        : fm.horizontalAdvance(qs(d.text)) + 2;
            }
            // Text is never cut at the bottom, whatever height it was designed with.
            h = std::max(h, textH);
            break;
        }
        case ControlKind::Entry:
        case ControlKind::Spin: {
            if (w < 0) {
                int n = chars;
                if (d.kind == ControlKind::Spin)
                    for (const std::string& v : static_cast<ValueSpin*>(c.widget)->values())
                        n = std::max(n, static_cast<int>(QString::fromStdString(v).size()));
                // Four units a character, and room for the frame (and the arrows).
                w = units_.x(std::max(n, 1) * 4 + (d.kind == ControlKind::Spin ? 14 : 6));
                if (d.kind == ControlKind::Entry) w = std::max(w, entryWidthForText(c));
            }
            if (h < 0) h = units_.y(10);
            h = std::max(h, textH + 2);
            break;
        }
        case ControlKind::Button: {
            if (w < 0) w = fm.horizontalAdvance(qs(d.text)) + units_.x(8);
            if (h < 0) h = units_.y(14);
            break;
        }
        case ControlKind::Check: {
            if (w < 0) w = c.widget->sizeHint().width();
            h = std::max(h, textH);
            break;
        }
        default:
            if (w < 0) w = units_.x(40);
            if (h < 0) h = units_.y(10);
            break;
    }
    return {units_.x(d.x), units_.y(d.y), w, h};
}

void WindowProcedure::layoutControls() {
    if (!client_) return;
    const int menuHeight = menuBar_ ? menuBar_->sizeHint().height() : 0;
    if (menuBar_) menuBar_->setGeometry(0, 0, width(), menuHeight);
    client_->setGeometry(0, menuHeight, width(), height() - menuHeight);
    const QSize designed = units_.size(decl_.w, decl_.h);
    const double sx =
        designed.width() > 0 ? std::max(1.0, double(client_->width()) / designed.width()) : 1.0;
    const double sy =
        designed.height() > 0 ? std::max(1.0, double(client_->height()) / designed.height()) : 1.0;
    for (const Control& c : controls_) {
        if (!c.widget || c.decl->kind == ControlKind::Tab) continue;
        const QRect r = designedRect(c);
        QRect g;
        if (stretches(c.decl->kind)) {
            g = QRect(qRound(r.x() * sx), qRound(r.y() * sy), qRound(r.width() * sx),
                      qRound(r.height() * sy));
        } else {
            g = QRect(QPoint(qRound(r.x() * sx), qRound(r.y() * sy)), r.size());
        }
        c.widget->setGeometry(g);
    }
}

void WindowProcedure::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    layoutControls();
}

// ---------------------------------------------------------------- placement

void WindowProcedure::restorePlacement() {
    const StoredPlacement stored = iniMgr().fetch(decl_.procedure);
    const QPoint origin = desktopOrigin();
    if (decl_.resizable && stored.width && stored.height) {
        const QSize s = units_.size(*stored.width, *stored.height);
        const int menuHeight = menuBar_ ? menuBar_->sizeHint().height() : 0;
        resize(s.width(), s.height() + menuHeight);
    }
    QPoint pos;
    if (stored.x && stored.y) {
        pos = origin + units_.point(*stored.x, *stored.y);
    } else if (decl_.x >= 0 && decl_.y >= 0) {
        pos = origin + units_.point(decl_.x, decl_.y);
    } else {
        // Centred on the caller, or on the screen.
        QRect over;
        if (caller_)
            over = caller_->frameGeometry();
        else if (QScreen* s = QGuiApplication::primaryScreen())
            over = s->availableGeometry();
        pos = over.center() - QPoint(width() / 2, height() / 2);
    }
    move(pos);
    Qt::WindowStates st = Qt::WindowNoState;
    if (stored.maximize && decl_.resizable) st |= Qt::WindowMaximized;
    if (stored.minimize) st |= Qt::WindowMinimized;
    setWindowState(st);
}

void WindowProcedure::savePlacement() {
    Placement p;
    // A maximised or minimised window keeps the place it will come back to.
    const bool normal = !(isMaximized() || isMinimized()) || !normalGeometry().isValid();
    const QPoint frameOffset = geometry().topLeft() - pos();
    const QPoint framePos = normal ? pos() : normalGeometry().topLeft() - frameOffset;
    const QPoint rel = framePos - desktopOrigin();
    p.x = units_.fromX(rel.x());
    p.y = units_.fromY(rel.y());
    const int menuHeight = menuBar_ ? menuBar_->sizeHint().height() : 0;
    const QSize client = normal ? size() : normalGeometry().size();
    p.width = units_.fromX(client.width());
    p.height = units_.fromY(client.height() - menuHeight);
    p.maximize = isMaximized();
    p.minimize = isMinimized();
    iniMgr().update(decl_.procedure, p, decl_.resizable);
}

// ---------------------------------------------------------------- steps

void WindowProcedure::display() {
    for (const Control& c : controls_) {
        if (!c.bound || c.bound->editing()) continue;
        c.bound->display();
    }
}

bool WindowProcedure::acceptAll() {
    acceptingAll_ = true;
    bool ok = true;
    for (const Control& c : controls_) {
        if (!c.bound || !c.widget || !c.widget->isEnabled()) continue;
        if (!c.bound->take()) {
            c.widget->setFocus();
            ok = false;
            break;
        }
    }
    acceptingAll_ = false;
    return ok;
}

void WindowProcedure::updateVariables() {
    for (const Control& c : controls_)
        if (c.bound) c.bound->take();
}

void WindowProcedure::reset(bool) {
    // Lists read their page again around the highlighted row (the buffer follows it), then
    // every control shows its variable.
    for (const Control& c : controls_)
        if (auto* l = qobject_cast<BrowseList*>(c.widget)) l->refresh();
    display();
}

void WindowProcedure::controlAccepted(int number) {
    if (closing_) return;
    const Control* c = number >= 1 && number <= static_cast<int>(controls_.size())
                           ? &controls_[static_cast<std::size_t>(number - 1)]
                           : nullptr;
    if (c && c->bound) {
        if (!c->bound->take()) {
            QApplication::beep();
            if (c->widget) c->widget->setFocus();
            return;
        }
        // Other controls on the same variable show the new value.
        display();
    }
    takeAccepted(number);
}

void WindowProcedure::post(int control) {
    if (QAction* a = menuItem(control)) {
        a->trigger();
        return;
    }
    controlAccepted(control);
}

void WindowProcedure::takeAccepted(int control) {
    if (control == 0) return;
    for (const Control& c : controls_)
        if (auto* l = qobject_cast<BrowseList*>(c.widget); l && l->takeAccepted(control)) return;
    if (control == okControl_) {
        takeCompleted();
        return;
    }
    if (control == cancelControl_) {
        closeWith(RequestCancelled);
        return;
    }
    if (auto it = responseButtons_.find(control); it != responseButtons_.end())
        closeWith(it->second);
}

void WindowProcedure::takeFieldEvent(int, FieldEvent) {}

void WindowProcedure::takeCompleted() {
    if (!acceptAll()) return;
    closeWith(RequestCompleted);
}

bool WindowProcedure::takeKey(int, QKeyEvent*) {
    return false;
}

bool WindowProcedure::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const QVariant n = watched->property("controlNumber");
        if (n.isValid() && takeKey(n.toInt(), static_cast<QKeyEvent*>(event))) return true;
    }
    return QDialog::eventFilter(watched, event);
}

void WindowProcedure::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (!closing_) closeWith(RequestCancelled);
}

void WindowProcedure::reject() {
    // Escape is the cancel button's key; a window without one stays.
    if (cancelControl_ && !closing_) controlAccepted(cancelControl_);
}

void WindowProcedure::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // The error manager names the window the user works in.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && opened_ && !closing_) {
        files::globalErrors().setProcedureName(decl_.procedure);
        currentWindow() = this;
    }
}

}  // namespace pordex::ui
