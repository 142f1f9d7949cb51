#pragma once

// Files of a test run: a scratch directory and whole-file reads.

#include <string>

// A fresh directory under /tmp, removed with everything in it with the object.
class CScratchDir {
public:
    CScratchDir();
    ~CScratchDir();
    CScratchDir(const CScratchDir&) = delete;
    CScratchDir& operator=(const CScratchDir&) = delete;

    // A path inside it; one that cannot be created when there is no directory.
    std::string Path(const std::string& name) const;

private:
    std::string m_path;
};

// A whole file, byte for byte; "" when missing.
std::string ReadFile(const std::string& path);
