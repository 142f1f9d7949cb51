// The program's resources, registered once before the tests as
// CScanApp::InitInstance does at start: the tests build the dialogs without
// the application object.

#include "orbisk_resources.h"

#include <gtest/gtest.h>

namespace {

class OrbiskResources : public ::testing::Environment {
public:
    void SetUp() override { LoadOrbiskResources(); }
};

const auto* const g_resources = ::testing::AddGlobalTestEnvironment(new OrbiskResources);

} // namespace
