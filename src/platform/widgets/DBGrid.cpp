#include "DBGrid.h"

#include "Dialogs.h"
#include "platform/core/EditMask.h"
#include "platform/core/Formats.h"
#include "HandlerGuard.h"
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

DBGrid::DBGrid(QWidget *parent) : QTableView(parent), m_model(new TableModel(this))
{
    setModel(m_model);
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

    // The current row stays marked when the focus is elsewhere (on the entry fields).
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight,
               p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);
    applyMetrics();
}

DBGrid::~DBGrid() = default;

void DBGrid::bind(Table &table)
{
    for (const QMetaObject::Connection &c : std::as_const(m_connections))
        disconnect(c);
    m_table = &table;
    m_model->setTable(&table);
    m_connections = {
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
    m_model->setColumns(fieldNames);
    applyMetrics();
    followTable();
}

void DBGrid::setKeySearchField(const QString &fieldName)
{
    if (m_table)
        m_table->fieldByName(fieldName);
    m_searchField = fieldName;
    m_keyClock.start();
}

bool DBGrid::searchTyped(const QKeyEvent &event)
{
    const QString text = event.text();
    if (m_searchField.isEmpty() || !m_table || !m_table->isActive() || text.isEmpty() ||
        !text.at(0).isPrint() || (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    const int field = m_table->fieldByName(m_searchField).index();
    const int row = m_keySearch.keyTyped(*m_table, field, text, m_keyClock.elapsed());
    if (row >= 0)
        moveTableTo(row);
    return true;
}

void DBGrid::setRowIndicator(bool on)
{
    m_rowIndicator = on;
    m_model->setRowIndicator(on);
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
    m_fillWidth = on;
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
    if (!m_table)
        return;
    const TableDefinition &def = m_table->definition();
    m_naturalWidths.clear();
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const FieldDef &f = def.field(m_model->fieldIndex(column));
        const int characters = f.displayWidth > 0 ? f.displayWidth : DefaultCharacters;
        m_naturalWidths.append(columnWidthFor(characters, f.label(), widestText(f)));
        setColumnWidth(column, m_naturalWidths.last());
    }
    fillWidth();
}

void DBGrid::fillWidth()
{
    if (!m_fillWidth || !m_table || m_naturalWidths.size() != m_model->columnCount())
        return;
    const TableDefinition &def = m_table->definition();
    // The vertical scroll bar is counted in whether it shows or not, so that rows coming and
    // going never make the columns jump; the row indicator is already left out.
    int available = maximumViewportSize().width() - verticalScrollBar()->sizeHint().width();
    int elastic = 0;
    for (int column = 0; column < m_naturalWidths.size(); ++column) {
        if (isFreeText(def.field(m_model->fieldIndex(column))))
            elastic += m_naturalWidths[column];
        else
            available -= m_naturalWidths[column];
    }
    if (elastic <= 0)
        return;
    const QFontMetrics titles = horizontalHeader()->fontMetrics();
    for (int column = 0; column < m_naturalWidths.size(); ++column) {
        const FieldDef &f = def.field(m_model->fieldIndex(column));
        if (!isFreeText(f))
            continue;
        const int share = int(qint64(available) * m_naturalWidths[column] / elastic);
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
    m_model->reload();
    followTable();
}

void DBGrid::recordChanged()
{
    m_model->valuesChanged();
    followTable();
}

void DBGrid::stateChanged()
{
    // During a scan the rows may not match what the grid was last told; the scan's end says.
    if (m_table && m_table->controlsDisabled())
        return;
    m_model->valuesChanged();
    followTable();
}

void DBGrid::fieldChanged()
{
    m_model->valuesChanged();
}

void DBGrid::followTable()
{
    const bool active = m_table && m_table->isActive();
    const int row = active ? m_table->shownCurrentRow() : -1;
    m_model->setRowMarker(row, active ? m_table->state() : Table::State::Inactive,
                          verticalHeader()->defaultSectionSize());
    QItemSelectionModel *selection = selectionModel();
    if (row < 0 || row >= m_model->rowCount()) {
        selection->clear();
        return;
    }
    const int column = std::max(0, columnAt(0));
    const QModelIndex index = m_model->index(row, column);
    if (selection->currentIndex().row() != row || !selection->isRowSelected(row))
        selection->setCurrentIndex(index,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollToCurrentRow();
}

void DBGrid::runMove(const std::function<void(Table &)> &move)
{
    if (!m_table || !m_table->isActive())
        return;
    // A record whose post fails stays current; the selection goes back to it.
    HandlerGuard::run(this, [&] { move(*m_table); });
    followTable();
}

void DBGrid::moveTableTo(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    runMove([row](Table &t) { t.moveToRow(row); });
}

void DBGrid::deleteCurrent()
{
    if (!m_table || !m_table->isActive() || m_table->shownRowCount() == 0)
        return;
    if (m_confirmDelete && !Dialogs::question(this, PlatformMessages::deleteRecordQuestion()))
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
}
