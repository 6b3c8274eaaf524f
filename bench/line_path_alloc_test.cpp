// The page reader's line path takes nothing from the heap: not from memory, not from a socket.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/alloc_counter.h"
#include "bench/bench_pages.h"
#include "common/page/page_reader.h"
#include "common/net/socket_transport.h"

namespace quirn::bench {
namespace {

using lumora::RouterStatus;

TEST(AllocationCounter, CountsTheCallingThreadsAllocations) {
    StartCountingAllocations();
    std::string* text = new std::string(100, 'x');
    delete text;
    AllocationCount count = StopCountingAllocations();
    EXPECT_EQ(count.allocations, 2);  // the string object and its characters
    EXPECT_EQ(count.frees, 2);
    EXPECT_GE(count.bytes, 100 + static_cast<long long>(sizeof(std::string)));

    if (CountsMalloc()) {
        StartCountingAllocations();
        void* block = std::malloc(24);
        block = std::realloc(block, 4000);
        std::free(block);
        count = StopCountingAllocations();
        EXPECT_EQ(count.allocations, 2);
        EXPECT_EQ(count.frees, 1);
    }

    // Nothing is counted once counting stops.
    std::string* later = new std::string(100, 'y');
    delete later;
    StartCountingAllocations();
    EXPECT_EQ(StopCountingAllocations().allocations, 0);
}

// Reads `page` from memory, counting only the read itself.
AllocationCount ReadFromMemory(const std::string& page, lumora::RouterResult& result) {
    RouterStatus status{};
    lumora::MemoryLineSource source(page.data(), static_cast<long long>(page.size()));
    StartCountingAllocations();
    result = lumora::InterpretPage(source, status);
    return StopCountingAllocations();
}

TEST(LinePath, ReadingPagesFromMemoryAllocatesNothing) {
    struct Case {
        const char* name;
        std::string page;
    };
    // A line longer than one read: the reader gets it in pieces.
    std::string long_line = StatusPage();
    long_line.insert(long_line.find("<h2>"), "<p>" + std::string(9000, 'a') + "</p>\r\n");
    const Case cases[] = {
        {"status page", StatusPage()},
        {"100 KB page", LargePage()},
        {"page with a 9000-byte line", long_line},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lumora::RouterResult result = lumora::kLocalFailure;
        const AllocationCount count = ReadFromMemory(c.page, result);
        EXPECT_EQ(result, lumora::kSuccess);
        EXPECT_EQ(count.allocations, 0);
        EXPECT_EQ(count.frees, 0);
    }
}

// A page's lines as read_line takes them from a connected socket.
class SocketLineSource : public lumora::LineSource {
  public:
    explicit SocketLineSource(int socket) : socket_(socket) {}
    int ReadLine(char* buffer) override { return lumora::read_line(buffer, socket_); }

  private:
    int socket_;
};

TEST(LinePath, ReadingAPageFromASocketAllocatesNothing) {
    int ends[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    // The whole page waits in the socket's buffer, then the writer's end closes.
    const std::string& page = StatusPage();
    ASSERT_EQ(write(ends[1], page.data(), page.size()), static_cast<ssize_t>(page.size()));
    close(ends[1]);

    RouterStatus status{};
    SocketLineSource source(ends[0]);
    StartCountingAllocations();
    const lumora::RouterResult result = lumora::InterpretPage(source, status);
    const AllocationCount count = StopCountingAllocations();
    close(ends[0]);

    EXPECT_EQ(result, lumora::kSuccess);
    EXPECT_EQ(status.battery_percent, 80);
    EXPECT_EQ(count.allocations, 0);
}

}  // namespace
}  // namespace quirn::bench
