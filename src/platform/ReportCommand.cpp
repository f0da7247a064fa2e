#include "ReportCommand.h"

#include "HandlerGuard.h"
#include "Table.h"

#include <QApplication>

namespace
{

// Restores the cursor and the controls on every way out, before any error box is shown.
class CommandScope
{
public:
    explicit CommandScope(Table &table) : table_(table)
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        table_.disableControls();
    }
    ~CommandScope()
    {
        table_.enableControls();
        QApplication::restoreOverrideCursor();
    }
    CommandScope(const CommandScope &) = delete;
    CommandScope &operator=(const CommandScope &) = delete;

private:
    Table &table_;
};

} // namespace

bool ReportCommand::run(QWidget *parent, Table &boundTable, const std::function<void()> &work)
{
    return HandlerGuard::run(parent, [&] {
        CommandScope scope(boundTable);
        work();
    });
}
