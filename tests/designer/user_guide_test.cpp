// The built-in user guide: its text form, and the two shipped texts, which must mark every
// control the pages give help for and every page the Help button opens at.
#include "user_guide.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string Shown(const GuideTopic& topic) {
  char out[512];
  size_t length = ShownGuideBody(topic, out, sizeof out);
  return std::string(out, length);
}

TEST(UserGuide, TopicsMarksAndShownText) {
  const std::string text =
      "ignored before the first title\n"
      "# First\r\n"
      "@info\r\n"
      "Opening line.\r\n"
      "# Second\n"
      "@10000 15000\n"
      "About 10000 and 15000.\n"
      "\n"
      "@1000\n"
      "About 1000.";
  GuideTopic topics[1];
  EXPECT_EQ(ListGuideTopics(text.data(), text.size(), topics, 1), 2u) << "counts beyond the capacity";
  GuideTopic all[4];
  ASSERT_EQ(ListGuideTopics(text.data(), text.size(), all, 4), 2u);
  EXPECT_EQ(std::string(all[0].title, all[0].titleSize), "First");
  EXPECT_EQ(std::string(all[1].title, all[1].titleSize), "Second");
  EXPECT_EQ(Shown(all[0]), "Opening line.\r\n");
  EXPECT_EQ(Shown(all[1]), "About 10000 and 15000.\r\n\r\nAbout 1000.\r\n");

  struct Case {
    const char* token;
    bool found;
    size_t topic, offset;
  } cases[] = {{"info", true, 0, 0}, {"15000", true, 1, 0}, {"1000", true, 1, 26}, {"100", false, 0, 0},
               {"", false, 0, 0}};
  for (const Case& c : cases) {
    size_t topic = 99, offset = 99;
    EXPECT_EQ(FindGuideMark(all, 2, c.token, &topic, &offset), c.found) << c.token;
    if (c.found) {
      EXPECT_EQ(topic, c.topic) << c.token;
      EXPECT_EQ(offset, c.offset) << c.token;
    }
  }

  char small[16];
  EXPECT_EQ(ShownGuideBody(all[1], small, sizeof small), 0u) << "a line that does not fit is left out whole";
  EXPECT_STREQ(small, "");
}

std::string ReadGuide(const std::string& language) {
  std::ifstream file(std::string(MORVANE_DESIGNER_SOURCE) + "/user_guide_" + language + ".txt", std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(UserGuide, BothLanguagesExplainEveryPageAndEveryControlWithHelp) {
  const char* tokens[] = {"info",  "background", "character", "module", "10000", "11000", "12000", "13000",
                          "14000", "15000",      "16000",     "17000",  "18000", "19000", "20000", "21000",
                          "22000", "23000",      "24000",     "25000",  "26000", "27000", "28000", "29000",
                          "30000"};
  size_t topicCount[2] = {};
  const char* languages[] = {"ja", "en"};
  for (int l = 0; l < 2; ++l) {
    std::string text = ReadGuide(languages[l]);
    ASSERT_FALSE(text.empty()) << languages[l];
    GuideTopic topics[16];
    topicCount[l] = ListGuideTopics(text.data(), text.size(), topics, 16);
    ASSERT_LE(topicCount[l], 16u);
    for (const char* token : tokens) {
      size_t topic = 0, offset = 0;
      EXPECT_TRUE(FindGuideMark(topics, topicCount[l], token, &topic, &offset)) << languages[l] << " " << token;
    }
  }
  EXPECT_EQ(topicCount[0], topicCount[1]) << "the two languages hold the same topics";
  EXPECT_EQ(topicCount[0], 7u);
}

}  // namespace
