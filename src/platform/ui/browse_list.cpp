#include "platform/ui/browse_list.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/ui/picture_text.h"
#include "platform/ui/record_slots.h"
#include "platform/ui/window_procedure.h"

namespace pordex::ui {
namespace {

Qt::Alignment alignmentOf(Align a) {
    switch (a) {
        case Align::Left:
            return Qt::AlignLeft;
        case Align::Right:
            return Qt::AlignRight;
        case Align::Center:
            return Qt::AlignHCenter;
    }
    return Qt::AlignLeft;
}

constexpr int kIndentRole = Qt::UserRole + 1;

// Draws a cell's text the way the columns were designed for: a margin of two pixels, moved in
// from its aligned edge by the column's indent, and cut at the column's edge rather than
// shortened with "..." (the style's own margins would hide the last digits of a date or an
// account in a column designed just wide enough for them).
class IndentDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem o(option);
        initStyleOption(&o, index);
        const QString text = o.text;
        o.text.clear();
        const QWidget* w = o.widget;
        QStyle* style = w ? w->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &o, painter, w);  // selection, focus

        constexpr int kMargin = 2;
        const int indent = index.data(kIndentRole).toInt();
        QRect r = o.rect.adjusted(kMargin, 0, -kMargin, 0);
        if (o.displayAlignment & Qt::AlignRight)
            r.adjust(0, 0, -indent, 0);
        else
            r.adjust(indent, 0, 0, 0);
        const QPalette::ColorGroup group = !(o.state & QStyle::State_Enabled) ? QPalette::Disabled
                                           : (o.state & QStyle::State_Active) ? QPalette::Normal
                                                                              : QPalette::Inactive;
        const bool selected = o.state & QStyle::State_Selected;
        painter->save();
        painter->setClipRect(o.rect);
        painter->setFont(o.font);
        painter->setPen(
            o.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(r, static_cast<int>(o.displayAlignment) | Qt::TextSingleLine, text);
        painter->restore();
    }
};

// Rows kept around the shown page, in pages: enough to scroll without reading at every step.
constexpr std::size_t kPagesKept = 5;

}  // namespace

// ---------------------------------------------------------------- BrowseModel

BrowseModel::BrowseModel(FileManagerBase& access, files::Order order, std::vector<Column> columns,
                         QObject* parent)
    : QAbstractTableModel(parent), access_(access), order_(order), columns_(std::move(columns)) {}

int BrowseModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int BrowseModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant BrowseModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    const Column& c = columns_[static_cast<std::size_t>(index.column())];
    switch (role) {
        case Qt::DisplayRole: {
            const files::Row& r = rows_[static_cast<std::size_t>(index.row())];
            const FieldRef f(c.field.type, c.field.width,
                             const_cast<std::byte*>(r.bytes.data()) + c.field.offset);
            return QString::fromStdString(displayText(f, c.picture));
        }
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(alignmentOf(c.align) | Qt::AlignVCenter);
        case kIndentRole:
            return c.indent;
        default:
            return {};
    }
}

QVariant BrowseModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    const Column& c = columns_[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole) return QString::fromStdString(c.header);
    if (role == Qt::FontRole && headerFont_) return *headerFont_;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(alignmentOf(c.headerAlign) | Qt::AlignVCenter);
    return {};
}

int BrowseModel::find(files::RowId id) const {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].id == id) return static_cast<int>(i);
    return -1;
}

bool BrowseModel::read(const files::Position& from, files::Direction dir, std::size_t n,
                       std::vector<files::Row>& out) {
    bool ok;
    if (filter_) {
        files::RecordFile* f = access_.file();
        ok = f && f->read(order_, from, dir, n, out, filter_);
    } else {
        ok = access_.readPage(order_, from, dir, n, out);
    }
    recordsRead_ += out.size();
    return ok;
}

bool BrowseModel::nothingBefore(const files::Position& from) {
    if (from.kind() == files::Position::Kind::First) return true;
    if (from.kind() == files::Position::Kind::Last) return false;
    // One record of the order itself, without the record test: a seek through the index. With
    // a test that passes few records this saves reading the whole file backward for nothing.
    files::RecordFile* f = access_.file();
    std::vector<files::Row> one;
    return f && f->read(order_, from, files::Direction::Backward, 1, one) && one.empty();
}

bool BrowseModel::loadFrom(const files::Position& from, std::size_t n) {
    std::vector<files::Row> got;
    const bool ok = read(from, files::Direction::Forward, n, got);
    const bool start = filter_ ? nothingBefore(from) : from.kind() == files::Position::Kind::First;
    beginResetModel();
    rows_ = std::move(got);
    atStart_ = start;
    atEnd_ = rows_.size() < n;
    endResetModel();
    return ok;
}

bool BrowseModel::loadLast(std::size_t n) {
    std::vector<files::Row> got;
    const bool ok = read(files::Position::last(), files::Direction::Backward, n, got);
    std::reverse(got.begin(), got.end());
    beginResetModel();
    rows_ = std::move(got);
    atEnd_ = true;
    atStart_ = rows_.size() < n;
    endResetModel();
    return ok;
}

int BrowseModel::fetchAfter(std::size_t n) {
    if (atEnd_ || n == 0) return 0;
    if (rows_.empty()) {
        loadFrom(files::Position::first(), n);
        return rowCount();
    }
    const files::Row& last = rows_.back();
    std::vector<files::Row> got;
    read(files::Position::after(last.id, last.bytes), files::Direction::Forward, n, got);
    if (got.size() < n) atEnd_ = true;
    if (got.empty()) return 0;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(got.size()) - 1);
    for (files::Row& r : got) rows_.push_back(std::move(r));
    endInsertRows();
    return static_cast<int>(got.size());
}

int BrowseModel::fetchBefore(std::size_t n) {
    if (atStart_ || n == 0) return 0;
    if (rows_.empty()) {
        loadLast(n);
        return rowCount();
    }
    const files::Row& first = rows_.front();
    std::vector<files::Row> got;
    read(files::Position::before(first.id, first.bytes), files::Direction::Backward, n, got);
    if (got.size() < n) atStart_ = true;
    if (got.empty()) return 0;
    std::reverse(got.begin(), got.end());
    beginInsertRows({}, 0, static_cast<int>(got.size()) - 1);
    rows_.insert(rows_.begin(), std::make_move_iterator(got.begin()),
                 std::make_move_iterator(got.end()));
    endInsertRows();
    return static_cast<int>(got.size());
}

void BrowseModel::trimFront(std::size_t keep) {
    if (rows_.size() <= keep) return;
    const int drop = static_cast<int>(rows_.size() - keep);
    beginRemoveRows({}, 0, drop - 1);
    rows_.erase(rows_.begin(), rows_.begin() + drop);
    atStart_ = false;
    endRemoveRows();
}

void BrowseModel::trimBack(std::size_t keep) {
    if (rows_.size() <= keep) return;
    const int from = static_cast<int>(keep);
    beginRemoveRows({}, from, rowCount() - 1);
    rows_.erase(rows_.begin() + from, rows_.end());
    atEnd_ = false;
    endRemoveRows();
}

// ---------------------------------------------------------------- BrowseList

BrowseList::BrowseList(WindowProcedure& window, const ControlDecl& decl, QWidget* parent)
    : QWidget(parent), window_(window), locator_(decl.locator) {
    const RecordSlot slot = recordSlot(window.dct(), decl.use);
    access_ = slot.access;
    buffer_ = slot.buffer;
    desc_ = slot.desc;

    files::Order order = files::Order::file();
    std::vector<BrowseModel::Column> columns;
    if (desc_) {
        if (!decl.key.empty()) {
            const int k = keyIndex(*desc_, decl.key);
            if (k >= 0) {
                order = files::Order::byKey(k);
                keyField_ = static_cast<int>(desc_->keys[static_cast<std::size_t>(k)].field);
            }
        }
        const DialogUnits& du = window.units();
        for (const ColumnDecl& cd : decl.columns) {
            std::string_view name = cd.field;
            if (const auto colon = name.find(':'); colon != std::string_view::npos)
                name = name.substr(colon + 1);
            const int f = fieldIndex(*desc_, name);
            if (f < 0) continue;
            columns.push_back({std::string(cd.header), desc_->fields[static_cast<std::size_t>(f)],
                               std::string(cd.picture), du.x(cd.width), cd.align, du.x(cd.indent),
                               cd.headerAlign});
        }
    }

    view_ = new QTableView(this);
    view_->setObjectName(QStringLiteral("view"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);

    static FileManagerBase none;
    model_ = new BrowseModel(access_ ? *access_ : none, order, std::move(columns), this);
    view_->setModel(model_);
    view_->setItemDelegate(new IndentDelegate(view_));
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view_->setWordWrap(false);
    view_->setTabKeyNavigation(false);
    view_->verticalHeader()->setVisible(false);
    const int rowHeight = QFontMetrics(window.font()).height() + 4;
    view_->verticalHeader()->setDefaultSectionSize(rowHeight);
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view_->horizontalHeader()->setHighlightSections(false);
    // Narrow columns are designed for headers in the window's font; the header view itself
    // would draw them in the platform's header font, larger, and "Nдок" or "БИК банка" would no
    // longer fit.
    model_->setHeaderFont(window.font());
    view_->horizontalHeader()->setStretchLastSection(false);
    for (int i = 0; i < model_->columnCount(); ++i)
        view_->setColumnWidth(i, model_->columns()[static_cast<std::size_t>(i)].width);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    view_->installEventFilter(this);
    setFocusProxy(view_);

    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (!adjusting_) follow();
    });
    connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (!adjusting_) keepAround();
    });
    connect(view_, &QTableView::doubleClicked, this, [this] {
        if (changeControl_) ask(WindowThread::ChangeRecord);
    });
    connect(view_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        // popup(), not exec(): no event loop of its own.
        contextMenu()->popup(view_->viewport()->mapToGlobal(pos));
    });
}

void BrowseList::setInsertButton(std::string_view name) {
    insertControl_ = window_.controlNumber(name);
}
void BrowseList::setChangeButton(std::string_view name) {
    changeControl_ = window_.controlNumber(name);
    updateButtons();
}
void BrowseList::setDeleteButton(std::string_view name) {
    deleteControl_ = window_.controlNumber(name);
    updateButtons();
}
void BrowseList::setSelectButton(std::string_view name) {
    selectControl_ = window_.controlNumber(name);
}

void BrowseList::setFilter(files::RecordFilter filter) {
    model_->setFilter(std::move(filter));
}

std::size_t BrowseList::pageRows() const {
    const int rowH = view_->verticalHeader()->defaultSectionSize();
    // Before the list is first shown its view is not laid out: the rows fit in the list's
    // designed height less the header.
    const int h = view_->isVisible() ? view_->viewport()->height()
                                     : height() - view_->horizontalHeader()->sizeHint().height() -
                                           2 * view_->frameWidth();
    if (rowH <= 0 || h < rowH) return 20;
    return static_cast<std::size_t>(std::max(1, h / rowH));
}

int BrowseList::currentRow() const {
    const QModelIndex i = view_->currentIndex();
    return i.isValid() ? i.row() : -1;
}

void BrowseList::setCurrentRow(int row) {
    if (row < 0 || row >= model_->rowCount()) {
        follow();
        return;
    }
    const QModelIndex i = model_->index(row, 0);
    view_->selectionModel()->setCurrentIndex(
        i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view_->scrollTo(i);
    follow();
}

void BrowseList::fillFromStart() {
    adjusting_ = true;
    model_->loadFrom(files::Position::first(), 2 * pageRows());
    adjusting_ = false;
    setCurrentRow(0);
}

void BrowseList::refresh() {
    const int row = currentRow();
    if (row < 0) {
        fillFromStart();
        return;
    }
    const files::Row r = model_->row(row);
    refreshAt(r.id, r.bytes, true);
}

void BrowseList::refreshAt(files::RowId id, const std::vector<std::byte>& record, bool) {
    const std::size_t page = pageRows();
    adjusting_ = true;
    model_->loadFrom(files::Position::before(id, record), 2 * page);
    int before = 0;
    if (model_->rowCount() == 0) {
        // Nothing from the record on; from the start of the order on, nothing at all.
        if (!model_->atStart()) model_->loadLast(2 * page);
    } else {
        before = model_->fetchBefore(page / 2);
    }
    adjusting_ = false;
    int row = model_->find(id);
    if (row < 0) row = std::min(before, model_->rowCount() - 1);
    setCurrentRow(row);
}

void BrowseList::follow() {
    if (!access_) return;
    const int row = currentRow();
    if (row >= 0 && row < model_->rowCount()) {
        access_->load(model_->row(row));
    } else if (model_->rowCount() == 0) {
        clearRecord(*desc_, buffer_);
    }
    updateButtons();
    window_.display();
    emit newSelection();
}

void BrowseList::updateButtons() {
    const bool rows = model_->rowCount() > 0;
    if (QWidget* w = window_.control(changeControl_)) w->setEnabled(rows);
    if (QWidget* w = window_.control(deleteControl_)) w->setEnabled(rows);
}

QMenu* BrowseList::contextMenu() {
    if (!menu_) menu_ = new QMenu(this);
    menu_->clear();
    const bool rows = model_->rowCount() > 0;
    if (insertControl_)
        connect(menu_->addAction(QStringLiteral("&Добавить")), &QAction::triggered, this,
                [this] { ask(WindowThread::InsertRecord); });
    if (changeControl_) {
        QAction* a = menu_->addAction(QStringLiteral("&Изменить"));
        a->setEnabled(rows);
        connect(a, &QAction::triggered, this, [this] { ask(WindowThread::ChangeRecord); });
    }
    if (deleteControl_) {
        QAction* a = menu_->addAction(QStringLiteral("&Удалить"));
        a->setEnabled(rows);
        connect(a, &QAction::triggered, this, [this] { ask(WindowThread::DeleteRecord); });
    }
    return menu_;
}

void BrowseList::ask(BYTE request) {
    if (!update_ || !access_ || window_.isClosing() || window_.nestedWindow()) return;
    if (request != WindowThread::InsertRecord && model_->rowCount() == 0) return;
    const int row = currentRow();
    files::Row previous;
    if (row >= 0) previous = model_->row(row);
    if (request == WindowThread::InsertRecord) {
        clearRecord(*desc_, buffer_);
    } else if (row >= 0) {
        access_->load(previous);  // the form works on the highlighted record
    }
    emit aboutToAsk(request);
    WindowProcedure* form = update_(window_);
    if (!form) return;
    QPointer<BrowseList> self(this);
    window_.runNested(form, request, [self, request, previous](BYTE response) {
        if (!self || self->window_.isClosing()) return;
        FileManagerBase& a = *self->access_;
        if (response == WindowThread::RequestCompleted && a.hasCurrent()) {
            // On the record the form wrote (after a delete: where it was).
            std::vector<std::byte> bytes(self->buffer_, self->buffer_ + self->desc_->recordSize);
            self->refreshAt(a.current(), bytes, request != WindowThread::DeleteRecord);
        } else if (previous.id != 0 || !previous.bytes.empty()) {
            self->refreshAt(previous.id, previous.bytes, true);
        } else {
            self->fillFromStart();
        }
        if (self) emit self->asked(request, response);
    });
}

bool BrowseList::takeAccepted(int control) {
    if (control == 0) return false;
    if (control == insertControl_) {
        ask(WindowThread::InsertRecord);
        return true;
    }
    if (control == changeControl_) {
        ask(WindowThread::ChangeRecord);
        return true;
    }
    if (control == deleteControl_) {
        ask(WindowThread::DeleteRecord);
        return true;
    }
    if (control == selectControl_) {
        window_.closeWith(WindowThread::RequestCompleted);
        return true;
    }
    return false;
}

void BrowseList::keepAround() {
    QScrollBar* sb = view_->verticalScrollBar();
    const std::size_t page = pageRows();
    adjusting_ = true;
    if (sb->value() >= sb->maximum() && !model_->atEnd()) {
        model_->fetchAfter(page);
        const int before = model_->rowCount();
        model_->trimFront(kPagesKept * page);
        const int dropped = before - model_->rowCount();
        if (dropped > 0) sb->setValue(sb->value() - dropped);
    } else if (sb->value() <= sb->minimum() && !model_->atStart()) {
        const int added = model_->fetchBefore(page);
        if (added > 0) sb->setValue(sb->value() + added);
        model_->trimBack(kPagesKept * page);
    }
    adjusting_ = false;
}

// Before the cursor moves past the rows held, the next rows are read.
bool BrowseList::moveBeyond(int key, Qt::KeyboardModifiers mods) {
    const std::size_t page = pageRows();
    const int row = currentRow();
    const int rows = model_->rowCount();
    const bool ctrl = mods & Qt::ControlModifier;
    if (key == Qt::Key_Home || (ctrl && key == Qt::Key_PageUp)) {
        adjusting_ = true;
        model_->loadFrom(files::Position::first(), 2 * page);
        adjusting_ = false;
        setCurrentRow(0);
        return true;
    }
    if (key == Qt::Key_End || (ctrl && key == Qt::Key_PageDown)) {
        adjusting_ = true;
        model_->loadLast(2 * page);
        adjusting_ = false;
        setCurrentRow(model_->rowCount() - 1);
        return true;
    }
    const int step = key == Qt::Key_PageDown || key == Qt::Key_PageUp ? static_cast<int>(page) : 1;
    adjusting_ = true;
    if ((key == Qt::Key_Down || key == Qt::Key_PageDown) && row + step >= rows &&
        !model_->atEnd()) {
        model_->fetchAfter(std::max<std::size_t>(page, static_cast<std::size_t>(step)));
        model_->trimFront(kPagesKept * page);
    } else if ((key == Qt::Key_Up || key == Qt::Key_PageUp) && row - step < 0 &&
               !model_->atStart()) {
        model_->fetchBefore(std::max<std::size_t>(page, static_cast<std::size_t>(step)));
        model_->trimBack(kPagesKept * page);
    }
    adjusting_ = false;
    return false;
}

void BrowseList::locate(QChar c) {
    if (!desc_ || keyField_ < 0) return;
    const files::FieldDesc& kf = desc_->fields[static_cast<std::size_t>(keyField_)];
    std::vector<std::byte> rec(desc_->recordSize);
    clearRecord(*desc_, rec.data());
    const FieldRef f = FieldRef::field(kf, rec.data());
    if (f.isText()) {
        f.setUtf8(QString(c).toStdString());
    } else if (c.isDigit()) {
        f.setNumber(c.digitValue());
    } else {
        return;
    }
    const std::size_t page = pageRows();
    adjusting_ = true;
    model_->loadFrom(files::Position::atKey(rec), 2 * page);
    const bool found = model_->rowCount() > 0;
    if (!found) model_->loadLast(2 * page);
    adjusting_ = false;
    setCurrentRow(found ? 0 : model_->rowCount() - 1);
}

bool BrowseList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        const int key = k->key();
        const Qt::KeyboardModifiers mods = k->modifiers() & ~Qt::KeypadModifier;
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (key == Qt::Key_Insert && mods == Qt::NoModifier) {
            if (insertControl_) ask(WindowThread::InsertRecord);
            return true;
        }
        if (key == Qt::Key_Delete && mods == Qt::NoModifier) {
            if (deleteControl_) ask(WindowThread::DeleteRecord);
            return true;
        }
        if (enter && mods == Qt::ControlModifier) {
            if (changeControl_) ask(WindowThread::ChangeRecord);
            return true;
        }
        if (enter && mods == Qt::NoModifier) {
            if (selectControl_) window_.post(selectControl_);
            return true;
        }
        if (key == Qt::Key_Down || key == Qt::Key_Up || key == Qt::Key_PageDown ||
            key == Qt::Key_PageUp || key == Qt::Key_Home || key == Qt::Key_End) {
            if (moveBeyond(key, mods)) return true;
            return false;
        }
        if (locator_ && !k->text().isEmpty() && k->text().at(0).isPrint() &&
            (mods & ~Qt::ShiftModifier) == Qt::NoModifier) {
            locate(k->text().at(0));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void BrowseList::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A taller list shows more rows: read what it now has room for.
    if (model_->rowCount() > 0 && static_cast<std::size_t>(model_->rowCount()) < 2 * pageRows() &&
        !model_->atEnd()) {
        adjusting_ = true;
        model_->fetchAfter(2 * pageRows() - static_cast<std::size_t>(model_->rowCount()));
        adjusting_ = false;
    }
}

}  // namespace pordex::ui
