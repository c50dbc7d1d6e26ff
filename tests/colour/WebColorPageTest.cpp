// The Web Color page as the user drives it: start state, typed values, dragged track bars.
#include "tools/colour/WebColorPage.h"

#include <gtest/gtest.h>
#include <QSlider>

#include "tests/colour/ColourPages.h"

namespace pagelathe {
namespace {

using testing::ImageOf;
using testing::IsFilledWith;
using testing::RecordedMessages;
using testing::Text;
using testing::Type;

class WebColorPageTest : public ::testing::Test {
 protected:
  testing::ShownPage<WebColorPage> shown_;
  WebColorPage& page_ = *shown_;

  // The bars, the swatch and the code agree with this colour.
  void ExpectColor(int red, int green, int blue, const char* code) {
    EXPECT_EQ(testing::Find<QSlider>(&page_, "TrackBarRedWeb")->value(), red);
    EXPECT_EQ(testing::Find<QSlider>(&page_, "TrackBarGreenWeb")->value(), green);
    EXPECT_EQ(testing::Find<QSlider>(&page_, "TrackBarBlueWeb")->value(), blue);
    EXPECT_EQ(Text(testing::Find<QLineEdit>(&page_, "EditWebColor")), code);
    EXPECT_TRUE(IsFilledWith(ImageOf(testing::Find<QLabel>(&page_, "ImageWebColor")),
                             QColor(red, green, blue)));
  }

  // Gives the window and then the bar the keyboard focus, as a click on the bar does.
  void FocusOn(QWidget* widget) { ASSERT_TRUE(shown_.Focus(widget)); }
};

TEST_F(WebColorPageTest, FirstShowFillsTheEditsSwatchAndCode) {
  EXPECT_EQ(Text(testing::Find<QLineEdit>(&page_, "EditRedWeb")), "0");
  EXPECT_EQ(Text(testing::Find<QLineEdit>(&page_, "EditGreenWeb")), "192");
  EXPECT_EQ(Text(testing::Find<QLineEdit>(&page_, "EditBlueWeb")), "255");
  EXPECT_EQ(testing::Find<QLabel>(&page_, "ImageWebColor")->size(), QSize(513, 226));
  EXPECT_EQ(ImageOf(testing::Find<QLabel>(&page_, "ImageWebColor")).size(), QSize(513, 226));
  ExpectColor(0, 192, 255, "#00C0FF");
  for (QSlider* bar : {testing::Find<QSlider>(&page_, "TrackBarRedWeb"),
                       testing::Find<QSlider>(&page_, "TrackBarGreenWeb"),
                       testing::Find<QSlider>(&page_, "TrackBarBlueWeb")}) {
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 255);
    EXPECT_EQ(bar->singleStep(), 1);
    EXPECT_EQ(bar->tickPosition(), QSlider::NoTicks);
  }
}

TEST_F(WebColorPageTest, TypedValuesInsideTheRangeMoveTheBarOthersChangeNothing) {
  struct Case {
    const char* edit;
    std::vector<std::string> typed;  // each typed key by key into the emptied edit
    std::string shown;
    int red, green, blue;
    const char* code;
    size_t errors = 0;  // a lone "-" or "$" on the way is no integer
  };
  const Case cases[] = {
      // "3" and "30" apply on the way; "300" keeps 30.
      {"EditRedWeb", {"300"}, "300", 30, 192, 255, "#1EC0FF"},
      {"EditRedWeb", {"300", "25"}, "25", 25, 192, 255, "#19C0FF"},
      // The bar set from the edit does not write back: "007" stays.
      {"EditGreenWeb", {"007"}, "007", 0, 7, 255, "#0007FF"},
      {"EditBlueWeb", {""}, "", 0, 192, 255, "#00C0FF"},
      {"EditBlueWeb", {"-1"}, "-1", 0, 192, 255, "#00C0FF", 1},
      {"EditBlueWeb", {"256"}, "256", 0, 192, 25, "#00C019"},
      {"EditRedWeb", {"255"}, "255", 255, 192, 255, "#FFC0FF"},
      {"EditBlueWeb", {"$80"}, "$80", 0, 192, 128, "#00C080", 1},
      // At most three characters.
      {"EditGreenWeb", {"1234"}, "123", 0, 123, 255, "#007BFF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.edit + std::string(" ") + c.typed.back());
    testing::ShownPage<WebColorPage> shown;
    WebColorPage& page = *shown;
    auto* edit = testing::Find<QLineEdit>(&page, c.edit);
    for (const std::string& text : c.typed)
      Type(edit, text);
    EXPECT_EQ(Text(edit), c.shown);
    EXPECT_EQ(testing::Find<QSlider>(&page, "TrackBarRedWeb")->value(), c.red);
    EXPECT_EQ(testing::Find<QSlider>(&page, "TrackBarGreenWeb")->value(), c.green);
    EXPECT_EQ(testing::Find<QSlider>(&page, "TrackBarBlueWeb")->value(), c.blue);
    EXPECT_EQ(Text(testing::Find<QLineEdit>(&page, "EditWebColor")), c.code);
    EXPECT_TRUE(IsFilledWith(ImageOf(testing::Find<QLabel>(&page, "ImageWebColor")),
                             QColor(c.red, c.green, c.blue)));
    EXPECT_EQ(RecordedMessages().size(), c.errors);
  }
}

TEST_F(WebColorPageTest, ATextThatIsNoIntegerShowsTheConversionErrorAndKeepsTheColour) {
  for (const char* text : {"-", "a", "1x"}) {
    RecordedMessages().clear();
    Type(testing::Find<QLineEdit>(&page_, "EditRedWeb"), text);
    ASSERT_FALSE(RecordedMessages().empty()) << text;
    EXPECT_TRUE(RecordedMessages().back().is_error);
    EXPECT_EQ(RecordedMessages().back().text,
              std::string("'").append(text).append("' is not a valid integer value"));
    EXPECT_EQ(Text(testing::Find<QLineEdit>(&page_, "EditRedWeb")), text);
    ExpectColor(text == std::string("1x") ? 1 : 0, 192, 255,
                text == std::string("1x") ? "#01C0FF" : "#00C0FF");
  }
}

TEST_F(WebColorPageTest, APositionSetByTheProgramWritesNothing) {
  testing::Find<QSlider>(&page_, "TrackBarGreenWeb")->setValue(100);
  EXPECT_EQ(Text(testing::Find<QLineEdit>(&page_, "EditGreenWeb")), "192");
  EXPECT_EQ(Text(testing::Find<QLineEdit>(&page_, "EditWebColor")), "#00C0FF");
  EXPECT_TRUE(
      IsFilledWith(ImageOf(testing::Find<QLabel>(&page_, "ImageWebColor")), QColor(0, 192, 255)));
}

TEST_F(WebColorPageTest, MovingABarByHandWritesItsEditAndTheCodeAtOnce) {
  struct Case {
    const char* bar;
    const char* edit;
    int position;
    const char* code;
  };
  const Case cases[] = {
      {"TrackBarRedWeb", "EditRedWeb", 128, "#80C0FF"},
      {"TrackBarGreenWeb", "EditGreenWeb", 0, "#0000FF"},
      {"TrackBarBlueWeb", "EditBlueWeb", 10, "#00C00A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bar);
    testing::ShownPage<WebColorPage> shown;
    WebColorPage& page = *shown;
    auto* bar = testing::Find<QSlider>(&page, c.bar);
    ASSERT_TRUE(shown.Focus(bar));
    bar->setValue(c.position);  // a drag ends in the same change of position
    EXPECT_EQ(Text(testing::Find<QLineEdit>(&page, c.edit)), std::to_string(c.position));
    EXPECT_EQ(Text(testing::Find<QLineEdit>(&page, "EditWebColor")), c.code);
  }
}

TEST_F(WebColorPageTest, KeysOnAFocusedBarWriteItsEdit) {
  FocusOn(testing::Find<QSlider>(&page_, "TrackBarRedWeb"));
  for (int key : {Qt::Key_End, Qt::Key_Left, Qt::Key_Left}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(testing::Find<QSlider>(&page_, "TrackBarRedWeb"), &press);
  }
  EXPECT_EQ(Text(testing::Find<QLineEdit>(&page_, "EditRedWeb")), "253");
  ExpectColor(253, 192, 255, "#FDC0FF");
}

TEST_F(WebColorPageTest, TheCodeEditIsOutputOnly) {
  Type(testing::Find<QLineEdit>(&page_, "EditWebColor"), "#123456");
  ExpectColor(0, 192, 255, "#123456");
}

}  // namespace
}  // namespace pagelathe
