#pragma once

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace kf::test {

// While it lives, no file this process writes may grow past `bytes`: a write that reaches the
// limit is cut short and the next one fails with EFBIG, as on a full disk. Unlike file
// permissions this stops root as well, so a save can be made to fail part-way anywhere.
// Only the soft limit is lowered, so the old one can always be put back.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        // Past the limit the kernel also raises SIGXFSZ, which would end the test run.
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        EXPECT_EQ(sigaction(SIGXFSZ, &ignore, &m_oldAction), 0);
        EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &m_oldLimit), 0);
        rlimit lowered = m_oldLimit;
        lowered.rlim_cur = bytes;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &lowered), 0);
    }

    ~FileSizeLimit() {
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &m_oldLimit), 0);
        EXPECT_EQ(sigaction(SIGXFSZ, &m_oldAction, nullptr), 0);
    }

    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_oldLimit{};
    struct sigaction m_oldAction {};
};

} // namespace kf::test
