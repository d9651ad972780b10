// The built-in user guide: its text form, and the two shipped texts, which must mark every
// control the pages give help for and every page the Help button opens at.
#include "user_guide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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
                          "30000", "scenes"};
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
  EXPECT_EQ(topicCount[0], 8u);
}

// The labels of the push buttons of a resource script, as written between its quotes.
std::vector<std::string> ButtonLabels(const std::string& script) {
  std::vector<std::string> labels;
  for (const char* kind : {"PUSHBUTTON \"", "DEFPUSHBUTTON \""}) {
    const std::string marker = kind;
    for (size_t at = script.find(marker); at != std::string::npos; at = script.find(marker, at + 1)) {
      const size_t begin = at + marker.size();
      labels.push_back(script.substr(begin, script.find('"', begin) - begin));
    }
  }
  return labels;
}

// Every button the guide tells the user to press carries that label in the same language; a
// guide that says "press Set" where the button says "Browse" sends users looking.
TEST(UserGuide, EveryButtonTheGuideNamesIsThereInItsLanguage) {
  struct Language {
    const char* guide;
    const char* script;
    const char* before;  // what comes before a button's name
    const char* after;   // and after it; empty: the name is one capitalised word
  } languages[] = {{"en", "designer_english.rc", "press ", ""}, {"ja", "designer.rc", "「", "」を押"}};
  for (const Language& language : languages) {
    const std::string guide = ReadGuide(language.guide);
    std::ifstream file(std::string(MORVANE_DESIGNER_SOURCE) + "/" + language.script, std::ios::binary);
    std::stringstream script;
    script << file.rdbuf();
    const std::vector<std::string> labels = ButtonLabels(script.str());
    ASSERT_GT(labels.size(), 5u) << language.script;
    int named = 0;
    for (size_t at = guide.find(language.before); at != std::string::npos; at = guide.find(language.before, at + 1)) {
      const size_t begin = at + std::strlen(language.before);
      size_t end = begin;
      if (*language.after) {
        end = guide.find(language.after, begin);
        if (end == std::string::npos || guide.find("\xE3\x80\x8D", begin) < end) continue;  // another 」 first
      } else {
        while (end < guide.size() && std::isalpha(static_cast<unsigned char>(guide[end]))) ++end;
        if (end == begin || !std::isupper(static_cast<unsigned char>(guide[begin]))) continue;
      }
      const std::string name = guide.substr(begin, end - begin);
      ++named;
      EXPECT_NE(std::find(labels.begin(), labels.end(), name), labels.end())
          << language.guide << ": the guide says to press \"" << name << "\", which no button is";
    }
    EXPECT_GT(named, 2) << language.guide;
  }
}

}  // namespace
