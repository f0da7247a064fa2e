#pragma once

#include "Table.h"

// Keeps the controls bound to a table still while code walks its rows, and lets them show the
// table again however the scope ends.
class ControlsDisabled
{
public:
    explicit ControlsDisabled(Table &table) : table_(table) { table_.disableControls(); }
    ~ControlsDisabled() { table_.enableControls(); }
    ControlsDisabled(const ControlsDisabled &) = delete;
    ControlsDisabled &operator=(const ControlsDisabled &) = delete;

private:
    Table &table_;
};
