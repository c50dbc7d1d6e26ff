// The Gradient Text page as the user drives it: the first show, the triggers, the colour
// edits, the font list rule, bad sizes and the drawn preview.
#include "tools/colour/GradientTextPage.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QFontDatabase>
#include <QSet>
#include <QSlider>
#include <cmath>
#include <functional>

#include "tests/colour/ColourPages.h"

namespace pagelathe {
namespace {

using testing::ImageOf;
using testing::IsFilledWith;
using testing::RecordedMessages;
using testing::Text;
using testing::Type;

using Lines = std::vector<std::string>;

// A freshly shown Gradient Text page.
struct Window {
  testing::ShownPage<GradientTextPage> shown;
  GradientTextPage& page = *shown;

  Lines Memo() const {
    return testing::MemoLines(testing::Find<QPlainTextEdit>(&page, "MemoGradientText"));
  }
  std::string Opening(const std::string& size) const {
    return "<p align=center><font face=\"" +
           FromQ(testing::Find<QComboBox>(&page, "ComboBoxFontType")->currentText()) +
           "\" size=\"" + size + "\">";
  }
  void SelectFace(const QString& face) {
    testing::Find<QComboBox>(&page, "ComboBoxFontType")->addItem(face);
    testing::Find<QComboBox>(&page, "ComboBoxFontType")
        ->setCurrentIndex(testing::Find<QComboBox>(&page, "ComboBoxFontType")->count() - 1);
  }
  void SetColours(const Lines& parts) {
    QLineEdit* edits[] = {testing::Find<QLineEdit>(&page, "EditRedStart"),
                          testing::Find<QLineEdit>(&page, "EditGreenStart"),
                          testing::Find<QLineEdit>(&page, "EditBlueStart"),
                          testing::Find<QLineEdit>(&page, "EditRedEnd"),
                          testing::Find<QLineEdit>(&page, "EditGreenEnd"),
                          testing::Find<QLineEdit>(&page, "EditBlueEnd")};
    for (size_t i = 0; i < 6; ++i)
      Type(edits[i], parts[i]);
  }
  std::vector<QSlider*> Bars() const {
    return {testing::Find<QSlider>(&page, "TrackBarRedStart"),
            testing::Find<QSlider>(&page, "TrackBarGreenStart"),
            testing::Find<QSlider>(&page, "TrackBarBlueStart"),
            testing::Find<QSlider>(&page, "TrackBarRedEnd"),
            testing::Find<QSlider>(&page, "TrackBarGreenEnd"),
            testing::Find<QSlider>(&page, "TrackBarBlueEnd")};
  }
  std::vector<QLineEdit*> Edits() const {
    return {testing::Find<QLineEdit>(&page, "EditRedStart"),
            testing::Find<QLineEdit>(&page, "EditGreenStart"),
            testing::Find<QLineEdit>(&page, "EditBlueStart"),
            testing::Find<QLineEdit>(&page, "EditRedEnd"),
            testing::Find<QLineEdit>(&page, "EditGreenEnd"),
            testing::Find<QLineEdit>(&page, "EditBlueEnd")};
  }
};

class GradientTextPageTest : public ::testing::Test {
 protected:
  Window window_;
  GradientTextPage& page_ = window_.page;
};

TEST_F(GradientTextPageTest, FirstShowFillsFontsEditsSwatchesAndRunsTheGenerator) {
  const QStringList families = QFontDatabase::families();
  ASSERT_EQ(testing::Find<QComboBox>(&page_, "ComboBoxFontType")->count(), families.size());
  for (int i = 0; i < families.size(); ++i)
    EXPECT_EQ(testing::Find<QComboBox>(&page_, "ComboBoxFontType")->itemText(i), families[i]);
  EXPECT_EQ(testing::Find<QComboBox>(&page_, "ComboBoxFontType")->currentIndex(),
            std::min<int>(6, families.size() - 1));
  EXPECT_FALSE(testing::Find<QComboBox>(&page_, "ComboBoxFontType")->isEditable());

  Lines edits;
  for (QLineEdit* edit : window_.Edits())
    edits.push_back(Text(edit));
  EXPECT_EQ(edits, (Lines{"0", "255", "0", "0", "0", "255"}));
  EXPECT_EQ(Text(testing::Find<QLineEdit>(&page_, "EditText")), "Gradient Text");
  EXPECT_EQ(Text(testing::Find<QLineEdit>(&page_, "EditFontSize")), "6");
  EXPECT_EQ(testing::Find<QLineEdit>(&page_, "EditFontSize")->maxLength(), 2);

  // The font list was filled before the generator ran: the memo names the selected face.
  const Lines memo = window_.Memo();
  ASSERT_EQ(memo.size(), 15u);
  EXPECT_EQ(memo[0], window_.Opening("6"));
  EXPECT_EQ(memo[1], "<font color=\"#00FF00\">G</font>");
  EXPECT_EQ(memo[9], "&nbsp;");
  EXPECT_EQ(memo[13], "<font color=\"#0000FF\">t</font>");
  EXPECT_EQ(memo[14], "</font>");

  EXPECT_EQ(ImageOf(testing::Find<QLabel>(&page_, "ImageColorStart")).size(), QSize(89, 90));
  EXPECT_TRUE(
      IsFilledWith(ImageOf(testing::Find<QLabel>(&page_, "ImageColorStart")), QColor(0, 255, 0)));
  EXPECT_TRUE(
      IsFilledWith(ImageOf(testing::Find<QLabel>(&page_, "ImageColorEnd")), QColor(0, 0, 255)));
  EXPECT_EQ(ImageOf(testing::Find<QLabel>(&page_, "ImagePreview")).size(), QSize(319, 87));
  EXPECT_FALSE(IsFilledWith(ImageOf(testing::Find<QLabel>(&page_, "ImagePreview")), Qt::white));
  EXPECT_TRUE(RecordedMessages().empty());
}

TEST_F(GradientTextPageTest, TheSeventhFontOrTheLast) {
  const struct {
    int count;
    int selected;
  } cases[] = {{0, -1}, {1, 0}, {6, 5}, {7, 6}, {12, 6}};
  for (const auto& c : cases) {
    QStringList families;
    for (int i = 0; i < c.count; ++i)
      families << QString("Face %1").arg(i);
    const Lines before = window_.Memo();
    page_.FillFontList(families);
    EXPECT_EQ(testing::Find<QComboBox>(&page_, "ComboBoxFontType")->count(), c.count);
    EXPECT_EQ(testing::Find<QComboBox>(&page_, "ComboBoxFontType")->currentIndex(), c.selected)
        << c.count;
    EXPECT_EQ(window_.Memo(), before) << "filling the list ran the generator";
  }
}

TEST_F(GradientTextPageTest, FontNamesAreFamiliesABrowserKnows) {
  struct Case {
    QStringList families;
    QStringList shown;
  };
  const Case cases[] = {
      {{"C059 [urw]", "C059 [UKWN]", "Nimbus Sans [URW ]", "DejaVu Sans"},
       {"C059", "DejaVu Sans", "Nimbus Sans"}},
      {{"b", "A", "a", "B"}, {"A", "a", "b", "B"}},
      {{"[x]", " Pad ", "Pad", "Odd]"}, {"[x]", "Odd]", "Pad"}},
      {{}, {}},
  };
  for (const Case& c : cases) {
    page_.FillFontList(c.families);
    QStringList shown;
    for (int i = 0; i < testing::Find<QComboBox>(&page_, "ComboBoxFontType")->count(); ++i)
      shown << testing::Find<QComboBox>(&page_, "ComboBoxFontType")->itemText(i);
    EXPECT_EQ(shown, c.shown) << c.families.join('|').toStdString();
  }
  // The families of this machine: no tag, none twice, the seventh selected when there are seven.
  page_.FillFontList();
  QSet<QString> seen;
  for (int i = 0; i < testing::Find<QComboBox>(&page_, "ComboBoxFontType")->count(); ++i) {
    const QString name = testing::Find<QComboBox>(&page_, "ComboBoxFontType")->itemText(i);
    EXPECT_FALSE(name.contains('[')) << name.toStdString();
    EXPECT_FALSE(seen.contains(name)) << name.toStdString();
    seen.insert(name);
  }
  if (testing::Find<QComboBox>(&page_, "ComboBoxFontType")->count() >= 7) {
    EXPECT_EQ(testing::Find<QComboBox>(&page_, "ComboBoxFontType")->currentIndex(), 6);
  }
}

TEST(GradientTextPageTriggers, EveryInputRebuildsTheMemo) {
  struct Case {
    const char* name;
    std::function<void(Window&)> act;
    std::function<Lines(Window&)> expected;
  };
  const Case cases[] = {
      {"AB red to blue in Arial 3",
       [](Window& w) {
         w.SetColours({"255", "0", "0", "0", "0", "255"});
         w.SelectFace("Arial");
         Type(testing::Find<QLineEdit>(&w.page, "EditFontSize"), "3");
         Type(testing::Find<QLineEdit>(&w.page, "EditText"), "AB");
       },
       [](Window&) {
         return Lines{"<p align=center><font face=\"Arial\" size=\"3\">",
                      "<font color=\"#FF0000\">A</font>", "<font color=\"#0000FF\">B</font>",
                      "</font>"};
       }},
      {"a blank in the middle",
       [](Window& w) { Type(testing::Find<QLineEdit>(&w.page, "EditText"), "a b"); },
       [](Window& w) {
         return Lines{w.Opening("6"), "<font color=\"#00FF00\">a</font>", "&nbsp;",
                      "<font color=\"#0000FF\">b</font>", "</font>"};
       }},
      {"one character empties the memo",
       [](Window& w) { testing::Find<QLineEdit>(&w.page, "EditText")->setText("X"); },
       [](Window&) { return Lines{}; }},
      {"no character empties the memo",
       [](Window& w) { testing::Find<QLineEdit>(&w.page, "EditText")->clear(); },
       [](Window&) { return Lines{}; }},
      {"other inputs over one character leave the memo empty",
       [](Window& w) {
         testing::Find<QLineEdit>(&w.page, "EditText")->setText("X");
         testing::Find<QSlider>(&w.page, "TrackBarRedStart")->setValue(200);
         Type(testing::Find<QLineEdit>(&w.page, "EditBlueEnd"), "9");
         w.SelectFace("Some Face");
         Type(testing::Find<QLineEdit>(&w.page, "EditFontSize"), "4");
       },
       [](Window&) { return Lines{}; }},
      {"a bar moved over no character writes the fixed lines",
       [](Window& w) {
         testing::Find<QLineEdit>(&w.page, "EditText")->clear();
         testing::Find<QSlider>(&w.page, "TrackBarRedStart")->setValue(200);
       },
       [](Window& w) {
         return Lines{w.Opening("6"), "</font>"};
       }},
      {"another face",
       [](Window& w) {
         Type(testing::Find<QLineEdit>(&w.page, "EditText"), "xy");
         w.SelectFace("Some Face");
       },
       [](Window&) {
         return Lines{"<p align=center><font face=\"Some Face\" size=\"6\">",
                      "<font color=\"#00FF00\">x</font>", "<font color=\"#0000FF\">y</font>",
                      "</font>"};
       }},
      {"an emptied size changes nothing",
       [](Window& w) {
         testing::Find<QLineEdit>(&w.page, "EditText")->setText("xy");
         testing::Find<QLineEdit>(&w.page, "EditFontSize")->clear();
       },
       [](Window& w) {
         return Lines{w.Opening("6"), "<font color=\"#00FF00\">x</font>",
                      "<font color=\"#0000FF\">y</font>", "</font>"};
       }},
      {"sizes and texts go in as they are",
       [](Window& w) {
         testing::Find<QLineEdit>(&w.page, "EditText")->setText("<&");
         testing::Find<QLineEdit>(&w.page, "EditFontSize")->setText("-9");
       },
       [](Window& w) {
         return Lines{w.Opening("-9"), "<font color=\"#00FF00\"><</font>",
                      "<font color=\"#0000FF\">&</font>", "</font>"};
       }},
      {"a bar moved by the program",
       [](Window& w) {
         testing::Find<QLineEdit>(&w.page, "EditText")->setText("ab");
         testing::Find<QSlider>(&w.page, "TrackBarBlueStart")->setValue(16);
         testing::Find<QSlider>(&w.page, "TrackBarRedEnd")->setValue(32);
       },
       [](Window& w) {
         return Lines{w.Opening("6"), "<font color=\"#00FF10\">a</font>",
                      "<font color=\"#2000FF\">b</font>", "</font>"};
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Window w;
    c.act(w);
    EXPECT_EQ(w.Memo(), c.expected(w));
    EXPECT_TRUE(RecordedMessages().empty());
  }
}

TEST_F(GradientTextPageTest, AMovedBarWritesItsEditAndFillsItsSwatch) {
  const std::vector<QSlider*> bars = window_.Bars();
  const std::vector<QLineEdit*> edits = window_.Edits();
  for (size_t i = 0; i < bars.size(); ++i) {
    const int position = 17 * static_cast<int>(i + 1);
    bars[i]->setValue(position);
    EXPECT_EQ(Text(edits[i]), std::to_string(position)) << i;
  }
  EXPECT_TRUE(
      IsFilledWith(ImageOf(testing::Find<QLabel>(&page_, "ImageColorStart")), QColor(17, 34, 51)));
  EXPECT_TRUE(
      IsFilledWith(ImageOf(testing::Find<QLabel>(&page_, "ImageColorEnd")), QColor(68, 85, 102)));
  const Lines memo = window_.Memo();
  ASSERT_EQ(memo.size(), 15u);
  EXPECT_EQ(memo[1], "<font color=\"#112233\">G</font>");
  EXPECT_EQ(memo[13], "<font color=\"#445566\">t</font>");
}

TEST_F(GradientTextPageTest, ColourEditRules) {
  struct Case {
    const char* typed;
    const char* shown;  // the edit afterwards
    int position;
    bool key_by_key = true;
  };
  const Case cases[] = {
      {"007", "7", 7},     // the bar writes its position back
      {"300", "300", 30},  // "3" and "30" apply on the way; "300" changes nothing
      {"", "", 255},       // emptied: nothing
      {"-5", "-5", 255},   // below the range: nothing (the lone "-" is an error on the way)
      {"$1F", "31", 31, false},
      // Typed key by key, "$1" is written back as "1" before the "F" comes.
      {"$1F", "1F", 1},
  };
  for (const Case& c : cases) {
    Window w;
    if (c.key_by_key) {
      Type(testing::Find<QLineEdit>(&w.page, "EditGreenStart"), c.typed);
    } else {
      testing::Find<QLineEdit>(&w.page, "EditGreenStart")->setText(c.typed);
    }
    EXPECT_EQ(Text(testing::Find<QLineEdit>(&w.page, "EditGreenStart")), c.shown) << c.typed;
    EXPECT_EQ(testing::Find<QSlider>(&w.page, "TrackBarGreenStart")->value(), c.position)
        << c.typed;
    EXPECT_EQ(w.Memo()[1], "<font color=\"" + WebColorCode(0, c.position, 0) + "\">G</font>");
  }
}

TEST_F(GradientTextPageTest, AnEditAtTheBarsPositionRunsNothing) {
  testing::Find<QPlainTextEdit>(&page_, "MemoGradientText")->clear();
  testing::Find<QLineEdit>(&page_, "EditGreenStart")->setText("255");
  testing::Find<QLineEdit>(&page_, "EditBlueEnd")->setText("$FF");
  EXPECT_TRUE(window_.Memo().empty());
  EXPECT_EQ(Text(testing::Find<QLineEdit>(&page_, "EditBlueEnd")), "$FF");
}

TEST_F(GradientTextPageTest, BadNumbersShowTheConversionError) {
  struct Case {
    const char* name;
    std::function<void(Window&)> act;
    const char* message;
    bool memo_empty;
  };
  const Case cases[] = {
      {"a size that is no integer",
       [](Window& w) { testing::Find<QLineEdit>(&w.page, "EditFontSize")->setText("x"); },
       "'x' is not a valid integer value", true},
      {"an empty size when a bar moves",
       [](Window& w) {
         testing::Find<QLineEdit>(&w.page, "EditFontSize")->clear();
         testing::Find<QSlider>(&w.page, "TrackBarGreenEnd")->setValue(99);
       },
       "'' is not a valid integer value", true},
      {"an empty size when the text changes",
       [](Window& w) {
         testing::Find<QLineEdit>(&w.page, "EditFontSize")->clear();
         testing::Find<QLineEdit>(&w.page, "EditText")->setText("abc");
       },
       "'' is not a valid integer value", true},
      {"a colour that is no integer",
       [](Window& w) { testing::Find<QLineEdit>(&w.page, "EditBlueEnd")->setText("-"); },
       "'-' is not a valid integer value", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Window w;
    c.act(w);
    ASSERT_EQ(RecordedMessages().size(), 1u);
    EXPECT_TRUE(RecordedMessages()[0].is_error);
    EXPECT_EQ(RecordedMessages()[0].text, c.message);
    EXPECT_EQ(w.Memo().empty(), c.memo_empty);
    if (c.memo_empty) {
      EXPECT_TRUE(IsFilledWith(ImageOf(testing::Find<QLabel>(&w.page, "ImagePreview")), Qt::white));
    }
  }
}

TEST_F(GradientTextPageTest, BadSizeStillFillsTheSwatches) {
  testing::Find<QLineEdit>(&page_, "EditFontSize")->setText("-");
  RecordedMessages().clear();
  testing::Find<QSlider>(&page_, "TrackBarRedStart")->setValue(250);
  EXPECT_EQ(RecordedMessages().size(), 1u);
  EXPECT_TRUE(
      IsFilledWith(ImageOf(testing::Find<QLabel>(&page_, "ImageColorStart")), QColor(250, 255, 0)));
}

// The bounding box of the pixels that are not white.
QRect Ink(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) != Qt::white) box |= QRect(x, y, 1, 1);
  return box;
}

// True when some pixel of `area` is `color` laid on white with at least half cover, the way a
// smoothed letter's stroke shows it.
bool HasInk(const QImage& image, const QRect& area, const QColor& color) {
  const int c[3] = {color.red(), color.green(), color.blue()};
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      const int p[3] = {pixel.red(), pixel.green(), pixel.blue()};
      int widest = 0;  // the part that moves furthest from white tells the cover
      for (int i = 1; i < 3; ++i)
        if (255 - c[i] > 255 - c[widest]) widest = i;
      if (c[widest] == 255) continue;
      const double cover = double(255 - p[widest]) / (255 - c[widest]);
      if (cover < 0.5) continue;
      bool blend = true;
      for (int i = 0; i < 3; ++i) {
        const double expected = 255 - cover * (255 - c[i]);
        if (std::abs(p[i] - expected) > 6) blend = false;
      }
      if (blend) return true;
    }
  }
  return false;
}

TEST(GradientTextPreview, LettersStandWhereTheSizePutsThem) {
  for (int size : {5, 9}) {
    SCOPED_TRACE(size);
    Window w;
    w.SetColours({"255", "0", "0", "0", "0", "255"});
    testing::Find<QLineEdit>(&w.page, "EditFontSize")->setText(QString::number(size));
    testing::Find<QLineEdit>(&w.page, "EditText")->setText("HH");
    const QImage preview = ImageOf(testing::Find<QLabel>(&w.page, "ImagePreview"));
    ASSERT_EQ(preview.size(), QSize(319, 87));
    const int first = 2 * size + 10;
    const int second = 4 * size + 10;
    const QRect ink = Ink(preview);
    ASSERT_FALSE(ink.isNull());
    EXPECT_GE(ink.left(), first);
    EXPECT_LT(ink.left(), first + size);
    EXPECT_GE(ink.top(), 10);
    EXPECT_LT(ink.right(), second + 4 * size);
    // Each letter wears its own colour, solid somewhere in its stroke.
    const QRect first_cell(first, 10, second - first, 77);
    const QRect second_cell(second, 10, 319 - second, 77);
    EXPECT_TRUE(HasInk(preview, first_cell, QColor(255, 0, 0)));
    EXPECT_FALSE(HasInk(preview, first_cell, QColor(0, 0, 255)));
    EXPECT_TRUE(HasInk(preview, second_cell, QColor(0, 0, 255)));
    EXPECT_FALSE(HasInk(preview, second_cell, QColor(255, 0, 0)));
  }
}

TEST(GradientTextPreview, ShortTextsAndBadSizesLeaveItWhite) {
  const std::function<void(Window&)> acts[] = {
      [](Window& w) { testing::Find<QLineEdit>(&w.page, "EditText")->setText("H"); },
      [](Window& w) { testing::Find<QLineEdit>(&w.page, "EditText")->clear(); },
      [](Window& w) {
        testing::Find<QLineEdit>(&w.page, "EditText")->setText("H");
        testing::Find<QSlider>(&w.page, "TrackBarRedEnd")->setValue(3);
      },
      [](Window& w) { testing::Find<QLineEdit>(&w.page, "EditFontSize")->setText("+"); },
  };
  for (const auto& act : acts) {
    Window w;
    act(w);
    EXPECT_TRUE(IsFilledWith(ImageOf(testing::Find<QLabel>(&w.page, "ImagePreview")), Qt::white));
  }
}

TEST(GradientTextPreview, ALongTextIsClippedAtTheRightEdge) {
  Window w;
  testing::Find<QLineEdit>(&w.page, "EditFontSize")->setText("99");
  testing::Find<QLineEdit>(&w.page, "EditText")->setText(QString(5000, 'W'));
  EXPECT_EQ(w.Memo().size(), 5002u);
  const QImage preview = ImageOf(testing::Find<QLabel>(&w.page, "ImagePreview"));
  EXPECT_EQ(preview.size(), QSize(319, 87));
  // Size 99 puts the first letter at 208 and the second past the edge.
  EXPECT_GE(Ink(preview).left(), 208);
}

}  // namespace
}  // namespace pagelathe
