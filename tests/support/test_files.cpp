#include "test_files.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

CScratchDir::CScratchDir()
{
    char pattern[] = "/tmp/orbisk-test-XXXXXX";
    if (mkdtemp(pattern) != nullptr)
        m_path = pattern;
    else
        ADD_FAILURE() << "no scratch directory: " << std::strerror(errno);
}

CScratchDir::~CScratchDir()
{
    std::error_code ignored;
    if (!m_path.empty())
        std::filesystem::remove_all(m_path, ignored);
}

std::string CScratchDir::Path(const std::string& name) const
{
    return (m_path.empty() ? std::string("/nonexistent") : m_path) + "/" + name;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
