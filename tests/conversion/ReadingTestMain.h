#pragma once

#include "conversion/ParadoxReadService.h"

#include <QTest>

// The conversion reads Paradox tables by starting its own program again with a hidden
// argument; a test program that converts answers it the same way the program does.
#define TALO_READING_TEST_MAIN(TestObject, Application)                                            \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        if (const std::optional<int> status = ParadoxReadService::serveIfAsked(argc, argv))        \
            return *status;                                                                        \
        Application app(argc, argv);                                                               \
        TestObject test;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
