#pragma once

#include <functional>

class QWidget;
class Table;

// The frame of a print or preview command: the hourglass, the window's own table keeping its
// bound controls still while the report walks its rows, and both always restored, whatever
// the report does. A failure ends the command in the platform's error box. The window's
// pending edit is neither posted nor cancelled: the report reads the file as last saved.
namespace ReportCommand
{

// Where a report goes: the printer, or the preview window first.
enum class Output { Printer, Preview };

// True when `work` completed.
bool run(QWidget *parent, Table &boundTable, const std::function<void()> &work);

} // namespace ReportCommand
