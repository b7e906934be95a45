#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <QTableView>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/file_manager.h"
#include "platform/files/record_file.h"
#include "platform/ui/control_decl.h"
#include "platform/ui/dialog_units.h"

class QMenu;

namespace pordex::ui {

class WindowProcedure;

// The rows a list holds: a window of consecutive records of one order, read a page at a time
// through the file's cursor. It never counts or reads the whole file: opening a list over a
// million records reads as much as one over a thousand.
class BrowseModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    struct Column {
        std::string header;  // UTF-8
        files::FieldDesc field;
        std::string picture;
        int width = 0;  // pixels
        Align align = Align::Left;
        int indent = 0;  // pixels
        Align headerAlign = Align::Left;
    };

    // Reads `access`'s file in `order`; `filter` (may be empty) is the list's record test,
    // applied inside every read.
    BrowseModel(FileManagerBase& access, files::Order order, std::vector<Column> columns,
                QObject* parent = nullptr);

    void setFilter(files::RecordFilter filter) { filter_ = std::move(filter); }
    // The font the headers are drawn in (by default the view's own header font).
    void setHeaderFont(const QFont& font) { headerFont_ = font; }
    const std::vector<Column>& columns() const { return columns_; }
    files::Order order() const { return order_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const files::Row& row(int i) const { return rows_[static_cast<std::size_t>(i)]; }
    int find(files::RowId id) const;

    // Replaces the rows by up to `n` read forward from `from`; false after a reported failure.
    bool loadFrom(const files::Position& from, std::size_t n);
    // Replaces the rows by the last `n` of the order.
    bool loadLast(std::size_t n);
    // Appends up to `n` rows after the last one / puts up to `n` before the first one; the
    // number of rows added.
    int fetchAfter(std::size_t n);
    int fetchBefore(std::size_t n);
    // Drops rows from the start / the end so that at most `keep` remain.
    void trimFront(std::size_t keep);
    void trimBack(std::size_t keep);

    bool atStart() const { return atStart_; }
    bool atEnd() const { return atEnd_; }
    // Records read from the file since the model was made (for tests and benchmarks).
    std::size_t recordsRead() const { return recordsRead_; }

  private:
    bool read(const files::Position& from, files::Direction dir, std::size_t n,
              std::vector<files::Row>& out);
    // Whether the order holds no record at all before `from` (the record test aside).
    bool nothingBefore(const files::Position& from);

    FileManagerBase& access_;
    files::Order order_;
    std::vector<Column> columns_;
    files::RecordFilter filter_;
    std::optional<QFont> headerFont_;
    std::vector<files::Row> rows_;
    bool atStart_ = true;
    bool atEnd_ = true;
    std::size_t recordsRead_ = 0;
};

// A list control bound to a file and a key (or file order), with an optional step locator,
// Insert / Change / Delete through an update form, and a select button. The thread's record
// buffer follows the highlighted row and is cleared when the list is empty.
class BrowseList : public QWidget {
    Q_OBJECT
  public:
    BrowseList(WindowProcedure& window, const ControlDecl& decl, QWidget* parent);

    // The update form run for insert, change and delete: built on the list's thread with the
    // list's window as caller.
    using UpdateProcedure = std::function<WindowProcedure*(WindowProcedure& caller)>;
    void setUpdateProcedure(UpdateProcedure make) { update_ = std::move(make); }

    // The window's buttons that act on the list (by name; empty: none).
    void setInsertButton(std::string_view name);
    void setChangeButton(std::string_view name);
    void setDeleteButton(std::string_view name);
    void setSelectButton(std::string_view name);

    // The list's record test, applied to every record read; rebuilds nothing by itself.
    void setFilter(files::RecordFilter filter);

    // Reads the list again from its first record / around the highlighted record.
    void fillFromStart();
    void refresh();

    // Opens the update form with a request (1 insert, 2 change, 3 delete) as the buttons do.
    void ask(BYTE request);

    // Handles a control of the list's window; true when it was one of the list's buttons.
    bool takeAccepted(int control);

    QTableView* view() const { return view_; }
    BrowseModel* model() const { return model_; }
    int currentRow() const;
    void setCurrentRow(int row);
    bool isEmpty() const { return model_->rowCount() == 0; }
    // The context menu as it would open now (for tests: its actions).
    QMenu* contextMenu();

    // Rows a page holds (the rows the view shows, at least one).
    std::size_t pageRows() const;

  signals:
    // The highlighted row changed (and the buffer with it).
    void newSelection();
    // The update form is about to open with `request` (the list's window sets what the form
    // reads first), and it has closed with `response` and the list has been read again.
    void aboutToAsk(BYTE request);
    void asked(BYTE request, BYTE response);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void follow();
    void updateButtons();
    void keepAround();
    void locate(QChar c);
    void refreshAt(files::RowId id, const std::vector<std::byte>& record, bool found);
    void afterUpdate(BYTE request, BYTE response);
    bool moveBeyond(int key, Qt::KeyboardModifiers mods);

    WindowProcedure& window_;
    FileManagerBase* access_ = nullptr;
    std::byte* buffer_ = nullptr;
    const files::FileDesc* desc_ = nullptr;
    int keyField_ = -1;
    bool locator_ = false;
    QTableView* view_ = nullptr;
    BrowseModel* model_ = nullptr;
    QMenu* menu_ = nullptr;
    UpdateProcedure update_;
    int insertControl_ = 0, changeControl_ = 0, deleteControl_ = 0, selectControl_ = 0;
    bool adjusting_ = false;
};

}  // namespace pordex::ui
