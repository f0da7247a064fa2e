#include "DBGrid.h"

#include "Dialogs.h"
#include "HandlerGuard.h"
#include "TextContrast.h"
#include "platform/core/EditMask.h"
#include "platform/core/Formats.h"
#include "platform/core/PlatformMessages.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>

namespace
{

constexpr int CellPadding = 8;        // text margins and the grid line
constexpr int DefaultCharacters = 10; // a field without a display width
constexpr int IndicatorWidth = 14;
constexpr qint64 LargestAmount = 99'999'999; // 999 999,99 in cents

bool isFreeText(const FieldDef &field)
{
    return (field.kind == FieldKind::String || field.kind == FieldKind::Memo) &&
           field.editMask.isEmpty();
}

} // namespace

DBGrid::DBGrid(QWidget *parent) : QTableView(parent), model_(new TableModel(this))
{
    setModel(model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setFocusPolicy(Qt::ClickFocus);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setAlternatingRowColors(false);
    // Whole rows only: a grid scrolled to its end never shows half of its top row.
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    QHeaderView *rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setSectionsClickable(false);
    rows->setFixedWidth(IndicatorWidth);
    rows->setDefaultAlignment(Qt::AlignCenter);
    rows->viewport()->installEventFilter(this);
    rows->hide();

    QHeaderView *columns = horizontalHeader();
    columns->setSectionsClickable(false);
    columns->setHighlightSections(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setStretchLastSection(false);
    columns->installEventFilter(this);

    // The current row stays marked when the focus is elsewhere (on the entry fields).
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight,
               p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);
    applyMetrics();
    applyColours();
}

DBGrid::~DBGrid() = default;

void DBGrid::bind(Table &table)
{
    for (const QMetaObject::Connection &c : std::as_const(connections_))
        disconnect(c);
    table_ = &table;
    model_->setTable(&table);
    connections_ = {
        connect(&table, &Table::dataSetChanged, this, &DBGrid::dataSetChanged),
        connect(&table, &Table::recordChanged, this, &DBGrid::recordChanged),
        connect(&table, &Table::stateChanged, this, &DBGrid::stateChanged),
        connect(&table, &Table::fieldChanged, this, &DBGrid::fieldChanged),
    };
    applyMetrics();
    followTable();
}

void DBGrid::setColumns(const QStringList &fieldNames)
{
    model_->setColumns(fieldNames);
    applyMetrics();
    followTable();
}

void DBGrid::setKeySearchField(const QString &fieldName)
{
    if (table_)
        table_->fieldByName(fieldName);
    searchField_ = fieldName;
    keyClock_.start();
}

bool DBGrid::searchTyped(const QKeyEvent &event)
{
    const QString text = event.text();
    if (searchField_.isEmpty() || !table_ || !table_->isActive() || text.isEmpty() ||
        !text.at(0).isPrint() || (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    const int field = table_->fieldByName(searchField_).index();
    const int row = keySearch_.keyTyped(*table_, field, text, keyClock_.elapsed());
    if (row >= 0)
        moveTableTo(row);
    return true;
}

void DBGrid::setRowIndicator(bool on)
{
    rowIndicator_ = on;
    model_->setRowIndicator(on);
    verticalHeader()->setVisible(on);
}

int DBGrid::columnWidthFor(int characters, const QString &title, const QString &widest) const
{
    const QFontMetrics metrics = fontMetrics();
    // A character of a display width is a digit, so amounts of that many digits fit.
    const int text = std::max(characters * metrics.horizontalAdvance(QLatin1Char('0')),
                              metrics.horizontalAdvance(widest));
    const int heading = horizontalHeader()->fontMetrics().horizontalAdvance(title);
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    return std::max(text, heading) + std::max(CellPadding, margins + 1);
}

QString DBGrid::widestText(const FieldDef &field)
{
    if (field.kind == FieldKind::Money)
        return Formats::money(-LargestAmount);
    const EditMask mask(field.editMask);
    if (!mask.isEmpty()) {
        QString text = mask.blankText();
        for (int p = 0; p < mask.positionCount(); ++p) {
            if (!mask.isLiteral(p))
                text[p] = QLatin1Char('0');
        }
        return text;
    }
    if (field.kind == FieldKind::Date)
        return Formats::date(QDate(2000, 12, 28));
    return QString();
}

void DBGrid::setFillWidth(bool on)
{
    fillWidth_ = on;
    applyMetrics();
}

int DBGrid::rowsPerPage() const
{
    const int height = verticalHeader()->defaultSectionSize();
    return std::max(1, viewport()->height() / std::max(1, height));
}

void DBGrid::applyMetrics()
{
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setMinimumSectionSize(fontMetrics().height() + 4);
    if (!table_)
        return;
    const TableDefinition &def = table_->definition();
    naturalWidths_.clear();
    for (int column = 0; column < model_->columnCount(); ++column) {
        const FieldDef &f = def.field(model_->fieldIndex(column));
        const int characters = f.displayWidth > 0 ? f.displayWidth : DefaultCharacters;
        naturalWidths_.append(columnWidthFor(characters, f.label(), widestText(f)));
        setColumnWidth(column, naturalWidths_.last());
    }
    fillWidth();
}

void DBGrid::fillWidth()
{
    if (!fillWidth_ || !table_ || naturalWidths_.size() != model_->columnCount())
        return;
    const TableDefinition &def = table_->definition();
    // The vertical scroll bar is counted in whether it shows or not, so that rows coming and
    // going never make the columns jump; the row indicator is already left out.
    int available = maximumViewportSize().width() - verticalScrollBar()->sizeHint().width();
    int elastic = 0;
    for (int column = 0; column < naturalWidths_.size(); ++column) {
        if (isFreeText(def.field(model_->fieldIndex(column))))
            elastic += naturalWidths_[column];
        else
            available -= naturalWidths_[column];
    }
    if (elastic <= 0)
        return;
    const QFontMetrics titles = horizontalHeader()->fontMetrics();
    for (int column = 0; column < naturalWidths_.size(); ++column) {
        const FieldDef &f = def.field(model_->fieldIndex(column));
        if (!isFreeText(f))
            continue;
        const int share = int(qint64(available) * naturalWidths_[column] / elastic);
        setColumnWidth(column, std::max(share, titles.horizontalAdvance(f.label()) + CellPadding));
    }
}

void DBGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    fillWidth();
    // A window made smaller keeps the current record in sight.
    scrollToCurrentRow();
}

void DBGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    keepTopRowWhole();
}

void DBGrid::updateGeometries()
{
    QTableView::updateGeometries();
    keepTopRowWhole();
}

// At the end of its scroll range the table view lines its last row up with the bottom, cutting
// the top row; the rows start at a whole row instead (the last row still shows whole).
void DBGrid::keepTopRowWhole()
{
    const QScrollBar *bar = verticalScrollBar();
    if (bar->maximum() <= 0 || bar->value() != bar->maximum())
        return;
    const int offset = verticalHeader()->sectionPosition(bar->value());
    if (verticalHeader()->offset() == offset)
        return;
    verticalHeader()->setOffset(offset);
    viewport()->update();
}

void DBGrid::scrollToCurrentRow()
{
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return;
    // Only the rows scroll: the columns stay where the user put them.
    const int left = horizontalScrollBar()->value();
    scrollTo(current);
    horizontalScrollBar()->setValue(left);
}

void DBGrid::dataSetChanged()
{
    model_->reload();
    followTable();
}

void DBGrid::recordChanged()
{
    model_->valuesChanged();
    followTable();
}

void DBGrid::stateChanged()
{
    // During a scan the rows may not match what the grid was last told; the scan's end says.
    if (table_ && table_->controlsDisabled())
        return;
    model_->valuesChanged();
    followTable();
}

void DBGrid::fieldChanged()
{
    model_->valuesChanged();
}

void DBGrid::followTable()
{
    const bool active = table_ && table_->isActive();
    const int row = active ? table_->shownCurrentRow() : -1;
    model_->setRowMarker(row, active ? table_->state() : Table::State::Inactive,
                         verticalHeader()->defaultSectionSize());
    QItemSelectionModel *selection = selectionModel();
    if (row < 0 || row >= model_->rowCount()) {
        selection->clear();
        return;
    }
    const int column = std::max(0, columnAt(0));
    const QModelIndex index = model_->index(row, column);
    if (selection->currentIndex().row() != row || !selection->isRowSelected(row))
        selection->setCurrentIndex(index,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollToCurrentRow();
}

void DBGrid::runMove(const std::function<void(Table &)> &move)
{
    if (!table_ || !table_->isActive())
        return;
    // A record whose post fails stays current; the selection goes back to it.
    HandlerGuard::run(this, [&] { move(*table_); });
    followTable();
}

void DBGrid::moveTableTo(int row)
{
    if (row < 0 || row >= model_->rowCount())
        return;
    runMove([row](Table &t) { t.moveToRow(row); });
}

void DBGrid::deleteCurrent()
{
    if (!table_ || !table_->isActive() || table_->shownRowCount() == 0)
        return;
    if (confirmDelete_ && !Dialogs::question(this, PlatformMessages::deleteRecordQuestion()))
        return;
    runMove([](Table &t) { t.deleteRecord(); });
}

void DBGrid::keyPressEvent(QKeyEvent *event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Up:
        runMove([](Table &t) { t.prior(); });
        break;
    case Qt::Key_Down:
        runMove([](Table &t) { t.next(); });
        break;
    case Qt::Key_PageUp:
        runMove([this](Table &t) { t.moveBy(-rowsPerPage()); });
        break;
    case Qt::Key_PageDown:
        runMove([this](Table &t) { t.moveBy(rowsPerPage()); });
        break;
    case Qt::Key_Home:
        runMove([](Table &t) { t.first(); });
        break;
    case Qt::Key_End:
        runMove([](Table &t) { t.last(); });
        break;
    case Qt::Key_Delete:
        if (!control) {
            event->ignore();
            return;
        }
        deleteCurrent();
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        QTableView::keyPressEvent(event);
        return;
    default:
        if (searchTyped(*event))
            break;
        // Enter, Escape, Insert and the rest belong to the window.
        event->ignore();
        return;
    }
    event->accept();
}

void DBGrid::mousePressEvent(QMouseEvent *event)
{
    // The selection is the table's current record: a click moves the table, never the
    // selection by itself.
    if (event->button() == Qt::LeftButton) {
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid())
            moveTableTo(index.row());
    }
    event->accept();
}

void DBGrid::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
}

void DBGrid::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}

bool DBGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == horizontalHeader() && event->type() == QEvent::PaletteChange)
        applyColours();
    // A click on the row indicator moves to that row, as a click on the row itself.
    if (watched == verticalHeader()->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            if (focusPolicy() & Qt::ClickFocus)
                setFocus(Qt::MouseFocusReason);
            moveTableTo(verticalHeader()->logicalIndexAt(mouse->position().toPoint().y()));
        }
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

void DBGrid::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        applyMetrics();
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        applyColours();
}

void DBGrid::setTitleColor(const QColor &color)
{
    titleColour_ = color;
    applyColours();
}

void DBGrid::applyColours()
{
    // Titles are drawn on the header's button face, the marker in its text colour; a desktop
    // theme may give headers a palette of their own, and styles shade the face (much lighter
    // on a dark palette).
    const QPalette p = horizontalHeader()->palette();
    const QColor face = p.color(QPalette::Button);
    model_->setTitleColor(TextContrast::readable(
        titleColour_, {face, face.lighter(140), face.darker(110), p.color(QPalette::Window)}));
    model_->setMarkerColor(p.color(QPalette::ButtonText));
}
