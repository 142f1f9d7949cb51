// The program's resources, registered once before the tests as
// CScanApp::InitInstance does at start: the tests build the dialogs without
// the application object. Every scan of the main window records the devices
// it listed: here in a scratch directory, never the home directory.

#include "orbisk_resources.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace {

class OrbiskResources : public ::testing::Environment {
public:
    void SetUp() override
    {
        LoadOrbiskResources();
        char dir[] = "/tmp/orbisk-state-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        m_stateHome = dir;
        setenv("XDG_STATE_HOME", dir, 1);
        unsetenv("ORBISK_NO_STATE");
    }
    void TearDown() override
    {
        if (!m_stateHome.empty())
            std::filesystem::remove_all(m_stateHome);
    }

private:
    std::string m_stateHome;
};

const auto* const g_resources = ::testing::AddGlobalTestEnvironment(new OrbiskResources);

} // namespace
