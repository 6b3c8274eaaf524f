// entity_decoder_test.cpp: the references the decoder knows, their order, and the table.
#include "common/page/entity_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace lumora {
namespace {

TEST(EntityDecoderTest, ReplacesTheKnownReferencesInTableOrder) {
    struct Case {
        std::string input;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"a&amp;b", "a&b"},
        {"&AMP; &#x3c; &Amp;", "&AMP; &#x3c; &Amp;"},  // case-sensitive forms only
        {"&nbsp;&copy;", "  "},
        {"&#160;&#169;&#xA0;&#xA9;", "    "},
        {"&quot;&#34;&#x22;", "\"\"\""},
        {"&lt;&#60;&#x3C;&gt;&#62;&#x3E;", "<<<>>>"},
        {"no reference here", "no reference here"},
        {"", ""},
        {"&amp;lt;", "<"},  // a later entry decodes what the ampersand made
        {"&#38;#60;", "<"},
        {"&amp;quot;", "&quot;"},  // an earlier entry does not
        {"&amp;amp;", "&amp;"},    // a replacement is not rescanned by its own reference
        {"&&amp;;", "&&;"},
        {"&amp", "&amp"},
        {"インターネット利用可：LTE&nbsp;(5G&amp;4G)", "インターネット利用可：LTE (5G&4G)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        const std::string decoded = EntityTable::Decode(c.input);
        EXPECT_EQ(decoded, c.expected);
        EXPECT_LE(decoded.size(), c.input.size());
    }
}

TEST(EntityDecoderTest, PrepareBuildsTheSixEntriesOnceEvenFromManyThreads) {
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([] {
            for (int j = 0; j < 100; ++j) {
                EntityTable::Prepare();
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    const std::vector<EntityEntry>& entries = EntityTable::Entries();
    ASSERT_EQ(entries.size(), 6u);
    const int ids[] = {1, 2, 3, 4, 5, 12};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].id, ids[i]);
    }
    EXPECT_EQ(&EntityTable::Entries(), &entries);
    EXPECT_EQ(entries[4].description, "no-break space = non-breaking space");
}

}  // namespace
}  // namespace lumora
