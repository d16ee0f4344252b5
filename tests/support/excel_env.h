// A temporary drive C and settings folder for one test, so that nothing
// touches the real home folder or configuration.
#pragma once

#include <gtest/gtest.h>

#include "platform/vb/runtime_error.h"
#include "tests/support/temp_env.h"

namespace excel_test {

// Drive C is also the home folder, where the engine looks for documents.
struct TempEnv : testsupport::Sandbox {
    TempEnv() : Sandbox(Home::DriveC, "belmora-excel") {}
};

// The number of the runtime error that `f` raises; 0 when it raises none.
template <class F>
int ErrorOf(F&& f) {
    try {
        f();
    } catch (const vb::RuntimeError& e) {
        EXPECT_FALSE(e.Description().empty()) << "error " << e.Number() << " without a description";
        EXPECT_FALSE(e.Source().empty()) << "error " << e.Number() << " without a source";
        return e.Number();
    }
    return 0;
}

}  // namespace excel_test
