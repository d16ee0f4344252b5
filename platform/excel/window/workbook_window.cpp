#include "platform/excel/internal/workbook_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHash>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QShowEvent>
#include <QStyleOptionHeaderV2>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <array>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/excel/application.h"
#include "platform/msgbox/msgbox.h"
#include "platform/vb/runtime_error.h"

namespace xl::window {

using engine::Cell;
using engine::CellRef;
using engine::Rect;

namespace {

// The spreadsheet's standard palette, colour index 1..56.
constexpr unsigned kPalette[56] = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0x800000, 0x008000,
    0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080, 0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF,
    0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF, 0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000,
    0x008080, 0x0000FF, 0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696, 0x003366, 0x339966,
    0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Paints each cell as the standard delegate does, but lays out each look of a
// cell once: a grid shows the same few texts (note names, bass names) in
// many cells and repaints them whenever the cursor or a selection moves, so
// the painted cell is kept as a picture of its look and drawn from there.
// The active cell the window shows is outlined over the ordinary painting.
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(const SheetModel& model, const CellRef& outlined, QObject* parent)
        : QStyledItemDelegate(parent), model_(model), outlined_(outlined) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        PaintCell(painter, option, index);
        if (index.row() + 1 == outlined_.row && index.column() + 1 == outlined_.col) {
            painter->save();
            painter->setPen(QPen(QColor(0x21, 0x73, 0x46), 2));
            painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
            painter->restore();
        }
    }

private:
    // What tells two looks of a cell apart, besides the grid's font and palette.
    struct Look {
        std::string text;
        int colorIndex = 0;
        bool right = false;  // numbers and dates stand at the right
        bool selected = false;
        int group = 0;  // the palette's colour group the cell is painted in
        QSize size;
        bool operator==(const Look&) const = default;
    };
    struct LookHash {
        std::size_t operator()(const Look& l) const {
            std::size_t h = std::hash<std::string>()(l.text);
            for (int v : {l.colorIndex, int(l.right), int(l.selected), l.group, l.size.width(), l.size.height()})
                h = h * 31 + static_cast<std::size_t>(v);
            return h;
        }
    };
    // A grid shows a few hundred cells; more looks than this start the pictures afresh.
    static constexpr std::size_t kMaxLooks = 512;

    void PaintCell(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
        const engine::SheetData* sheet = model_.Sheet();
        // The cell with the keyboard focus carries the style's focus frame: painted as it is.
        if (!sheet || (option.state & QStyle::State_HasFocus))
            return QStyledItemDelegate::paint(painter, option, index);
        const Cell* cell = engine::FindCell(*sheet, {index.row() + 1, index.column() + 1});
        Look look;
        look.selected = (option.state & QStyle::State_Selected) != 0;
        if (cell) {
            look.text = engine::DisplayText(*cell);
            look.colorIndex = cell->colorIndex >= 1 && cell->colorIndex <= 56 ? cell->colorIndex : 0;
            look.right = cell->kind == Cell::Kind::Number || cell->kind == Cell::Kind::Date;
        }
        if (look.text.empty() && !look.selected) return;  // the grid's own background is all there is
        QPalette::ColorGroup group = (option.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
        if (group == QPalette::Normal && !(option.state & QStyle::State_Active)) group = QPalette::Inactive;
        look.group = group;
        look.size = option.rect.size();

        const qreal ratio = painter->device()->devicePixelRatio();
        if (option.font != font_ || option.palette.cacheKey() != palette_ || ratio != ratio_) {
            looks_.clear();
            font_ = option.font;
            palette_ = option.palette.cacheKey();
            ratio_ = ratio;
        }
        auto it = looks_.find(look);
        if (it == looks_.end()) {
            if (looks_.size() >= kMaxLooks) looks_.clear();
            // Painted on the grid's background, as the cell is painted in place.
            QPixmap picture(option.rect.size() * ratio);
            picture.setDevicePixelRatio(ratio);
            picture.fill(option.palette.color(group, QPalette::Base));
            QPainter p(&picture);
            QStyleOptionViewItem at = option;
            at.rect = QRect(QPoint(0, 0), option.rect.size());
            QStyledItemDelegate::paint(&p, at, index);
            p.end();
            it = looks_.emplace(std::move(look), std::move(picture)).first;
        }
        painter->drawPixmap(option.rect.topLeft(), it->second);
    }

    const SheetModel& model_;
    const CellRef& outlined_;
    mutable std::unordered_map<Look, QPixmap, LookHash> looks_;
    mutable QFont font_;
    mutable qint64 palette_ = 0;
    mutable qreal ratio_ = 0;
};

// Row numbers and column letters drawn from a picture of each look: a
// selection over a column of the lookup workbook that moves to the next
// column changes the look, and so the painting, of every row number in
// sight. A section with an icon is painted as it is.
class GridHeader : public QHeaderView {
public:
    GridHeader(Qt::Orientation orientation, QWidget* parent) : QHeaderView(orientation, parent) {
        // As the table's own headers are made.
        setSectionsClickable(true);
        setHighlightSections(true);
    }

protected:
    // The size a section's text asks for, measured once for each text: the
    // table asks for the first and last hundred sections every time the
    // sheet, its size or the window changes, and measuring lays the text out.
    QSize sectionSizeFromContents(int logicalIndex) const override {
        QAbstractItemModel* m = model();
        if (!m || isSortIndicatorShown() || m->headerData(logicalIndex, orientation(), Qt::SizeHintRole).isValid() ||
            m->headerData(logicalIndex, orientation(), Qt::DecorationRole).isValid() ||
            m->headerData(logicalIndex, orientation(), Qt::FontRole).isValid())
            return QHeaderView::sectionSizeFromContents(logicalIndex);
        if (font() != sizesFont_ || style() != sizesStyle_) {
            sizes_.clear();
            sizesFont_ = font();
            sizesStyle_ = style();
        }
        const QString text = m->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
        auto it = sizes_.constFind(text);
        if (it == sizes_.cend()) {
            if (sizes_.size() >= static_cast<qsizetype>(kMaxLooks)) sizes_.clear();
            it = sizes_.insert(text, QHeaderView::sectionSizeFromContents(logicalIndex));
        }
        return *it;
    }

    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        if (!rect.isValid()) return;
        QStyleOptionHeaderV2 option;
        initStyleOption(&option);
        initStyleOptionForIndex(&option, logicalIndex);
        if (!option.icon.isNull()) return QHeaderView::paintSection(painter, rect, logicalIndex);
        const qreal ratio = painter->device()->devicePixelRatio();
        if (font() != font_ || palette().cacheKey() != palette_ || ratio != ratio_) {
            looks_.clear();
            font_ = font();
            palette_ = palette().cacheKey();
            ratio_ = ratio;
        }
        Look look{option.text,
                  {static_cast<int>(option.state), option.position, option.selectedPosition, option.sortIndicator,
                   static_cast<int>(option.textAlignment), option.textElideMode, option.isSectionDragTarget,
                   rect.width(), rect.height()}};
        auto it = looks_.find(look);
        if (it == looks_.end()) {
            if (looks_.size() >= kMaxLooks) looks_.clear();
            QPixmap picture(rect.size() * ratio);
            picture.setDevicePixelRatio(ratio);
            picture.fill(Qt::transparent);
            QPainter p(&picture);
            p.setFont(font());
            option.rect = QRect(QPoint(0, 0), rect.size());
            style()->drawControl(QStyle::CE_Header, &option, &p, this);
            p.end();
            it = looks_.emplace(std::move(look), std::move(picture)).first;
        }
        painter->drawPixmap(rect.topLeft(), it->second);
    }

private:
    struct Look {
        QString text;
        std::array<int, 9> fields;  // state, positions, sorting, alignment, eliding, drag target, size
        bool operator==(const Look&) const = default;
    };
    struct LookHash {
        std::size_t operator()(const Look& l) const {
            std::size_t h = qHash(l.text);
            for (int v : l.fields) h = h * 31 + static_cast<std::size_t>(v);
            return h;
        }
    };
    static constexpr std::size_t kMaxLooks = 512;
    mutable std::unordered_map<Look, QPixmap, LookHash> looks_;
    mutable QHash<QString, QSize> sizes_;
    mutable QFont sizesFont_;
    mutable const QStyle* sizesStyle_ = nullptr;
    mutable QFont font_;
    mutable qint64 palette_ = 0;
    mutable qreal ratio_ = 0;
};

// A scroll bar over 65,536 rows: following the cursor by a row hardly ever
// moves its handle by a pixel, and the style paints a scroll bar with tall
// gradients. It repaints when its handle moves or an end is reached, not
// whenever its value changes.
class GridScrollBar : public QScrollBar {
public:
    GridScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {}

protected:
    void sliderChange(SliderChange change) override {
        if (change == SliderValueChange && Look() == shown_) return;
        QScrollBar::sliderChange(change);
    }
    void paintEvent(QPaintEvent* event) override {
        shown_ = Look();
        QScrollBar::paintEvent(event);
    }

private:
    struct Shown {
        QRect handle;
        bool atStart = false, atEnd = false;
        bool operator==(const Shown&) const = default;
    };
    Shown Look() const {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return {style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
                value() == minimum(), value() == maximum()};
    }
    Shown shown_;
};

}  // namespace

// ---- SheetModel ---------------------------------------------------------------

void SheetModel::SetSheet(engine::SheetData* sheet) {
    if (sheet == sheet_) return;
    beginResetModel();
    sheet_ = sheet;
    endResetModel();
}

void SheetModel::CellsChanged(const Rect& area) {
    const int r2 = std::min(area.last.row, internal::kMaxRows), c2 = std::min(area.last.col, internal::kMaxCols);
    emit dataChanged(index(area.first.row - 1, area.first.col - 1), index(r2 - 1, c2 - 1));
}

int SheetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !sheet_ ? 0 : internal::kMaxRows;
}

int SheetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !sheet_ ? 0 : internal::kMaxCols;
}

QVariant SheetModel::data(const QModelIndex& index, int role) const {
    if (!sheet_ || !index.isValid()) return {};
    const Cell* cell = engine::FindCell(*sheet_, {index.row() + 1, index.column() + 1});
    if (!cell) return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return Q(engine::DisplayText(*cell));
    case Qt::ForegroundRole:
        if (cell->colorIndex >= 1 && cell->colorIndex <= 56) return QColor::fromRgb(kPalette[cell->colorIndex - 1]);
        return {};
    case Qt::TextAlignmentRole:
        if (cell->kind == Cell::Kind::Number || cell->kind == Cell::Kind::Date)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default: return {};
    }
}

bool SheetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!sheet_ || !sheet_->book || !index.isValid() || role != Qt::EditRole) return false;
    const CellRef at{index.row() + 1, index.column() + 1};
    engine::SetValues(*sheet_, Rect{at, at}, engine::FromTyped(value.toString().toStdString()));
    return true;
}

Qt::ItemFlags SheetModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant SheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return Q(engine::ColumnName(section + 1));
    return section + 1;
}

// ---- WorkbookWindow --------------------------------------------------------------

WorkbookWindow::WorkbookWindow(engine::BookData& book)
    : book_(&book), view_(new QTableView(this)), tabs_(new QTabBar(this)) {
    // Shown by the program, the window stays behind the window the user works in.
    setAttribute(Qt::WA_ShowWithoutActivating);
    ShowTitle();
    resize(900, 600);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view_);
    layout->addWidget(tabs_);

    view_->setHorizontalHeader(new GridHeader(Qt::Horizontal, view_));
    view_->setVerticalHeader(new GridHeader(Qt::Vertical, view_));
    view_->setModel(&model_);
    view_->setItemDelegate(new CellDelegate(model_, outlined_, view_));
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setDefaultSectionSize(20);
    view_->horizontalHeader()->setDefaultSectionSize(72);
    view_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    view_->setVerticalScrollBar(new GridScrollBar(Qt::Vertical, view_));
    view_->setHorizontalScrollBar(new GridScrollBar(Qt::Horizontal, view_));

    tabs_->setShape(QTabBar::RoundedSouth);
    tabs_->setExpanding(false);
    tabs_->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(tabs_, &QTabBar::currentChanged, this, [this](int i) {
        if (syncing_ || !book_ || i < 0) return;
        engine::SelectSheet(*book_, i);
        Refresh();  // the user's own choice shows at once
    });
    QObject::connect(tabs_, &QTabBar::tabBarDoubleClicked, this, [this](int i) {
        if (i >= 0) RenameSheetAt(i);
    });
    QObject::connect(tabs_, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) { ShowTabMenu(p); });

    book.observers.push_back(this);
    ShowActiveSheet();
    // Selection model exists once the model is set; follow the user's cursor.
    QObject::connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
                     [this](const QModelIndex&, const QModelIndex&) { SyncSelectionFromView(); });
    QObject::connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                     [this](const QItemSelection&, const QItemSelection&) { SyncSelectionFromView(); });
}

WorkbookWindow::~WorkbookWindow() { Detach(); }

void WorkbookWindow::Detach() {
    if (!book_) return;
    auto& obs = book_->observers;
    obs.erase(std::remove(obs.begin(), obs.end(), static_cast<engine::BookObserver*>(this)), obs.end());
    book_ = nullptr;
    syncing_ = true;
    model_.SetSheet(nullptr);
    syncing_ = false;
}

void WorkbookWindow::ShowTitle() {
    if (book_) setWindowTitle(Q(book_->name) + (book_->readOnly ? QStringLiteral("  [jen pro čtení]") : QString()));
}

void WorkbookWindow::Schedule(int what) {
    pending_ |= what;
    if (scheduled_ || !isVisible()) return;
    scheduled_ = true;
    QTimer::singleShot(0, this, [this] { Refresh(); });
}

void WorkbookWindow::Refresh() {
    scheduled_ = false;
    // A hidden window does no work: what is pending is shown when it is shown again.
    if (!isVisible()) return;
    const int what = std::exchange(pending_, kNothing);
    if (!book_) return;
    if (what & kSheets)
        ShowActiveSheet();
    else if (what & kSelection)
        SyncSelectionToView();
}

void WorkbookWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (pending_ != kNothing) Refresh();
}

void WorkbookWindow::ShowActiveSheet() {
    if (!book_) return;
    syncing_ = true;
    while (tabs_->count() > 0) tabs_->removeTab(0);
    for (const auto& sh : book_->sheets) tabs_->addTab(Q(sh->s.name));
    tabs_->setCurrentIndex(book_->activeSheet);
    model_.SetSheet(book_->sheets[static_cast<std::size_t>(book_->activeSheet)].get());
    syncing_ = false;
    SyncSelectionToView();
}

// Only the cells whose look changes are repainted: the cell outlined before
// and the one outlined now (the selection model repaints the cells that
// joined or left the selection itself).
void WorkbookWindow::SyncSelectionToView() {
    engine::SheetData* sh = model_.Sheet();
    if (!sh) return;
    syncing_ = true;
    const Rect& sel = sh->s.selection;
    const QModelIndex active = model_.index(sh->s.activeCell.row - 1, sh->s.activeCell.col - 1);
    const QModelIndex before = model_.index(outlined_.row - 1, outlined_.col - 1);
    outlined_ = sh->s.activeCell;
    view_->selectionModel()->setCurrentIndex(active, QItemSelectionModel::NoUpdate);
    view_->selectionModel()->select(
        QItemSelection(model_.index(sel.first.row - 1, sel.first.col - 1), model_.index(sel.last.row - 1, sel.last.col - 1)),
        QItemSelectionModel::ClearAndSelect);
    if (isVisible()) view_->scrollTo(active);
    if (before.isValid()) view_->update(before);
    view_->update(active);
    syncing_ = false;
}

void WorkbookWindow::SyncSelectionFromView() {
    engine::SheetData* sh = model_.Sheet();
    if (syncing_ || !sh || !sh->book) return;
    const QModelIndex current = view_->selectionModel()->currentIndex();
    if (!current.isValid()) return;
    const CellRef active{current.row() + 1, current.column() + 1};
    Rect sel{active, active};
    // The selected rectangle that holds the cursor, as the spreadsheet keeps one.
    for (const QItemSelectionRange& r : view_->selectionModel()->selection()) {
        if (r.contains(current)) {
            sel = Rect{{r.top() + 1, r.left() + 1}, {r.bottom() + 1, r.right() + 1}};
            break;
        }
    }
    syncing_ = true;
    engine::SetSelection(*sh, sel, active);
    syncing_ = false;
    const QModelIndex before = model_.index(outlined_.row - 1, outlined_.col - 1);
    outlined_ = active;
    if (before.isValid()) view_->update(before);
    view_->update(current);
}

void WorkbookWindow::CellsChanged(const engine::SheetData& sheet, const Rect& area) {
    if (&sheet == model_.Sheet()) model_.CellsChanged(area);
}

void WorkbookWindow::SheetsChanged() { Schedule(kSheets); }

void WorkbookWindow::SelectionChanged(const engine::SheetData&) {
    if (!syncing_) Schedule(kSelection);
}

void WorkbookWindow::NameChanged() { ShowTitle(); }

void WorkbookWindow::InsertSheetBefore(int tab) {
    if (book_) engine::InsertSheet(*book_, tab);
}

void WorkbookWindow::RenameSheetAt(int tab) {
    if (!book_ || tab < 0 || tab >= static_cast<int>(book_->sheets.size())) return;
    engine::SheetData& sh = *book_->sheets[static_cast<std::size_t>(tab)];
    const std::string name = forms::InputBox("Zadejte nový název listu:", "Přejmenovat list", sh.s.name);
    if (name.empty()) return;  // cancelled
    try {
        engine::RenameSheet(sh, name);
    } catch (const vb::RuntimeError& e) {
        forms::MsgBox(e.Description(), forms::vbExclamation, kErrorSource);
    }
}

void WorkbookWindow::DeleteSheetAt(int tab) {
    if (!book_ || tab < 0 || tab >= static_cast<int>(book_->sheets.size())) return;
    engine::SheetData& sh = *book_->sheets[static_cast<std::size_t>(tab)];
    if (book_->sheets.size() == 1) {
        forms::MsgBox("Sešit musí obsahovat alespoň jeden list.", forms::vbExclamation, kErrorSource);
        return;
    }
    bool hasData = false;
    for (const auto& [at, cell] : sh.s.cells)
        if (cell.kind != Cell::Kind::Empty) {
            hasData = true;
            break;
        }
    if (hasData && forms::MsgBox("List " + sh.s.name + " obsahuje data. Chcete jej i s daty trvale odstranit?",
                                 forms::vbYesNo | forms::vbExclamation, kErrorSource) != forms::vbYes)
        return;
    engine::DeleteSheet(*book_, tab);
}

void WorkbookWindow::ShowTabMenu(const QPoint& pos) {
    const int tab = tabs_->tabAt(pos);
    QMenu menu(this);
    QAction* insert = menu.addAction(QStringLiteral("Vložit list"));
    QAction* rename = menu.addAction(QStringLiteral("Přejmenovat..."));
    QAction* remove = menu.addAction(QStringLiteral("Odstranit"));
    rename->setEnabled(tab >= 0);
    remove->setEnabled(tab >= 0);
    QAction* chosen = menu.exec(tabs_->mapToGlobal(pos));
    if (chosen == insert) InsertSheetBefore(tab >= 0 ? tab : tabs_->count());
    else if (chosen == rename) RenameSheetAt(tab);
    else if (chosen == remove) DeleteSheetAt(tab);
}

// Only the user's wish to close the window comes here: the program closes a
// workbook through the engine, which hides and lets go of its window. The
// program answers first what becomes of the window.
void WorkbookWindow::closeEvent(QCloseEvent* event) {
    if (!book_) return event->accept();
    event->ignore();
    try {
        switch (engine::AskUserClose(*book_)) {
        case UserClose::Close: break;
        case UserClose::Minimise: showMinimized(); return;
        case UserClose::Handled:
        case UserClose::Refuse: return;
        }
        // A hook that closed the workbook itself leaves nothing to close.
        if (!book_ || !engine::AskSaveBeforeClose(*book_, true)) return;
    } catch (const vb::RuntimeError& e) {
        forms::MsgBox(e.Description(), forms::vbCritical, kErrorSource);
        return;
    }
    event->accept();
    engine::CloseBook(*book_);  // the host lets go of this window
}

// ---- QtWindowHost ----------------------------------------------------------------

QtWindowHost::~QtWindowHost() {
    for (auto& [book, w] : windows_) {
        w->Detach();
        delete w;
    }
}

void QtWindowHost::BookOpened(engine::BookData& book) {
    auto* w = new WorkbookWindow(book);
    windows_[&book] = w;
    Place(*w);
    if (app_.visible) w->show();
}

void QtWindowHost::Place(WorkbookWindow& w) {
    // The program's own windows (forms) are main windows; a form not shown yet
    // (the main window while it loads) already stands where it will show.
    std::vector<QRect> taken;
    for (bool visibleOnly : {true, false}) {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (qobject_cast<QMainWindow*>(top) && (top->isVisible() || !visibleOnly))
                taken.push_back(top->frameGeometry().adjusted(0, -30, 0, 0));
        if (!taken.empty()) break;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect free = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
    const int shown = static_cast<int>(windows_.size()) - 1;  // this one is counted already
    const QPoint cascade(32 * (shown % 4), 32 * (shown % 4));
    QRect used;
    for (const QRect& r : taken) used |= r;
    if (used.isEmpty()) {
        w.move(free.topLeft() + QPoint(40, 40) + cascade);
        return;
    }
    // Beside or below the forms, wherever a window of sensible size has more room.
    const QRect right(QPoint(used.right() + 8, free.top() + 30), free.bottomRight());
    const QRect below(QPoint(free.left(), used.bottom() + 8 + 30), free.bottomRight());
    auto room = [](const QRect& r) {
        return r.width() < 320 || r.height() < 160 ? 0 : std::min(r.width(), 900) * std::min(r.height(), 600);
    };
    const QRect area = room(right) >= room(below) ? right : below;
    if (room(area) == 0) {
        // No room beside the forms: at least the title bar stays out from under them.
        w.move(QPoint(free.left() + 40, std::min(used.bottom() + 38, free.bottom() - 120)) + cascade);
        return;
    }
    const int width = std::min(area.width() - 16 - 3 * 32, 900), height = std::min(area.height() - 16 - 3 * 32, 600);
    w.resize(std::max(width, 320), std::max(height, 160));
    w.move(area.topLeft() + cascade);
}

void QtWindowHost::BookClosed(engine::BookData& book) {
    auto it = windows_.find(&book);
    if (it == windows_.end()) return;
    WorkbookWindow* w = it->second;
    windows_.erase(it);
    // The window of a large workbook held pictures of its cells; once it is
    // gone too, what both left behind goes back to the system.
    if (engine::HasLargeSheet(book)) QObject::connect(w, &QObject::destroyed, [] { engine::ReleaseFreedMemory(); });
    w->Detach();
    w->hide();
    w->deleteLater();
}

void QtWindowHost::VisibleChanged(bool visible) {
    for (auto& [book, w] : windows_) w->setVisible(visible);
}

WorkbookWindow* QtWindowHost::WindowOf(const engine::BookData& book) const {
    auto it = windows_.find(&book);
    return it == windows_.end() ? nullptr : it->second;
}

}  // namespace xl::window

namespace xl::engine {

std::unique_ptr<WindowHost> CreateWindowHost(AppData& app) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
    return std::make_unique<window::QtWindowHost>(app);
}

}  // namespace xl::engine
