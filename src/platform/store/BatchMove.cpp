#include "BatchMove.h"

#include "Table.h"

BatchMove::BatchMove(Table &source, Table &destination) : source_(source), destination_(destination)
{
}

void BatchMove::execute()
{
    destination_.close();
    source_.copyTo(destination_.filePath());
}
