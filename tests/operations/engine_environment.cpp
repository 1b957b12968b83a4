// The operation tests drive the real engine: bind it once for the whole test program.
#include <gtest/gtest.h>

#include "engine/engine_api.h"

namespace {

class EngineEnvironment : public testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(engine_bind()) << "archiveint.dll in the system folder"; }
};

testing::Environment* const engine_environment = testing::AddGlobalTestEnvironment(new EngineEnvironment);

}  // namespace
