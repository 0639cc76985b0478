// A fresh temporary folder that becomes the current directory for one test, and small
// file helpers for the tests.
#ifndef KV_TEST_TEMPDIR_H
#define KV_TEST_TEMPDIR_H

#include <string>

class TEMPDIR {
public:
    TEMPDIR();   // makes the folder and changes into it
    ~TEMPDIR();  // changes back and removes the folder with everything in it
    const std::string& Path() const { return path; }

private:
    std::string path;
    std::string previous;
};

bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool ReadFileBytes(const std::string& path, std::string* bytes);
bool FileExists(const std::string& path);

#endif
