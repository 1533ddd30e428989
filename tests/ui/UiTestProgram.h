// The window tests are one program: each test class registers itself in
// place of QTEST_MAIN, and the program runs the class named as its first
// argument, in a process of its own as before (CTest starts one per class).
// One program links once and its sources compile together, where nineteen
// programs parsed the Qt headers nineteen times.
#pragma once

#include <QtTest>

namespace quillprint::test {

using TUiTestRun = int (*)(int argc, char** argv);

// Keeps `run` under the last part of `className` ("quillprint::test::X" -> "X").
bool RegisterUiTest(const char* className, TUiTestRun run);

}  // namespace quillprint::test

#define QUILLPRINT_UI_TEST_JOIN2(a, b) a##b
#define QUILLPRINT_UI_TEST_JOIN(a, b) QUILLPRINT_UI_TEST_JOIN2(a, b)

// What QTEST_MAIN(TestObject) would run as the program's main.
#define QUILLPRINT_UI_TEST(TestObject)                                                     \
    namespace {                                                                            \
    const bool QUILLPRINT_UI_TEST_JOIN(kUiTestRegistered, __COUNTER__) =                   \
        ::quillprint::test::RegisterUiTest(#TestObject, [](int argc, char** argv) -> int { \
            QTest::Internal::callInitMain<TestObject>();                                   \
            QTEST_MAIN_SETUP()                                                             \
            TestObject tc;                                                                 \
            QTEST_SET_MAIN_SOURCE_PATH                                                     \
            return QTest::qExec(&tc, argc, argv);                                          \
        });                                                                                \
    }
