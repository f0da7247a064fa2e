#pragma once

class Table;

// A batch copy in copy mode: creates the destination table in its folder, replacing one of the
// same name, with the source's structure and all its rows. The destination file is written
// aside and renamed into place, so a failed copy never destroys an older one.
class BatchMove
{
public:
    BatchMove(Table &source, Table &destination);
    void execute();

private:
    Table &source_;
    Table &destination_;
};
