// Parsing skin texts into TSkin and TSkinCtl: sections, blocks, shapes,
// types, fills, state pictures, window geometry, and hostile values.
#include <gtest/gtest.h>

#include "skin_model.h"

using namespace zv::ui;

namespace {

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::unique_ptr<TSkin> parse(const std::string& text, SIZE bitmap = {200, 100}) {
  return parseSkin(linesOf(text), bitmap);
}

bool sameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(SkinParse, splitsControlsAndWindowSectionsAtTheFirstDoubleDot) {
  auto skin = parse("name=a\n.\nname=b\nnot an attribute\n\n..\ndefsize=50 40\n..\nlater=1");
  ASSERT_EQ(skin->controls.size(), 2u);
  EXPECT_EQ(skin->controls[0].name(), "a");
  EXPECT_EQ(skin->controls[1].name(), "b");
  EXPECT_EQ(skin->controls[1].attributes.lines().size(), 1u);
  EXPECT_EQ(skin->defSize.cx, 50);
  EXPECT_EQ(skin->defSize.cy, 40);
  EXPECT_EQ(skin->attr("later"), "1");  // a second ".." is just a line without "="
}

TEST(SkinParse, keepsUnknownKeysForTheWindowsToRead) {
  auto skin = parse("name=pos\nformat=%m:%s\n..\nvisbk=#102030\nnbars=24");
  EXPECT_EQ(skin->controls[0].attr("format"), "%m:%s");
  EXPECT_EQ(skin->attr("VISBK"), "#102030");  // keys compare without case
  EXPECT_EQ(skin->attr("nbars"), "24");
  EXPECT_EQ(skin->attr("missing"), "");
  EXPECT_EQ(skin->findControl("POS"), &skin->controls[0]);
  EXPECT_EQ(skin->findControl("nothing"), nullptr);
}

struct ShapeCase {
  const char* shape;  // null: no shape key
  SkinShapeKind kind;
  RECT boundsIn200x100;
  size_t points;
};

TEST(SkinParse, shapes) {
  const ShapeCase cases[] = {
      {nullptr, skRect, {0, 0, 200, 100}, 0},
      {"full", skRect, {0, 0, 200, 100}, 0},
      {"none", skRect, {0, 0, 0, 0}, 0},
      {"rect 10 20 30 15", skRect, {10, 20, 40, 35}, 0},
      {"10 20 30 15", skRect, {10, 20, 40, 35}, 0},
      {"!4 0 4 10", skRect, {196, 0, 200, 10}, 0},        // 4 pixels from the right edge
      {"5 5 !5 !5", skRect, {5, 5, 195, 95}, 0},          // far-edge width and height
      {"polygon 0 0 10 0 10 10", skPolygon, {0, 0, 10, 10}, 3},
      {"polygon 0 0 10 0 10 10 7", skPolygon, {0, 0, 10, 10}, 3},  // odd word dropped
      {"polygon 0 0 10 0", skPolygon, {0, 0, 0, 0}, 2},            // too few points: empty
      {"polygon", skPolygon, {0, 0, 0, 0}, 0},
      {"rect 1 2", skRect, {1, 2, 1, 2}, 0},                        // missing words read 0
      {"rect 10 10 -50 -50", skRect, {10, 10, 10, 10}, 0},          // negative size: empty
  };
  for (const auto& c : cases) {
    std::string text = "name=x\n";
    if (c.shape) text += std::string("shape=") + c.shape + "\n";
    auto skin = parse(text);
    const TSkinCtl& ctl = skin->controls[0];
    EXPECT_EQ(ctl.shapeKind, c.kind) << (c.shape ? c.shape : "(none)");
    EXPECT_TRUE(sameRect(ctl.bounds(200, 100), c.boundsIn200x100)) << (c.shape ? c.shape : "(none)");
    EXPECT_EQ(ctl.points.size(), c.points) << (c.shape ? c.shape : "(none)");
  }
}

TEST(SkinParse, polygonHitTestFollowsTheTriangle) {
  auto skin = parse("name=t\nshape=polygon 0 0 10 0 10 10");
  const TSkinCtl& t = skin->controls[0];
  EXPECT_TRUE(t.contains({8, 2}, 200, 100));
  EXPECT_FALSE(t.contains({2, 8}, 200, 100));  // the other half of the square
  EXPECT_FALSE(t.contains({50, 50}, 200, 100));
}

struct TypeCase {
  const char* attrs;
  int type;
  int fill;
};

TEST(SkinParse, typesAndFillsWithTheirDefaults) {
  const TypeCase cases[] = {
      {"name=a", ctSimple, sfBitmap},
      {"name=a\naction=play", ctButton, sfBitmap},
      {"name=a\naction1=stop", ctButton, sfBitmap},
      {"name=a\nonaction=x\noffaction=y", ctStateButton, sfBitmap},
      {"name=a\nonaction=x", ctSimple, sfBitmap},
      {"name=a\nonaction=x\noffaction=y\naction=z", ctStateButton, sfBitmap},
      {"type=header", ctHeader, sfBitmap},
      {"type=control", ctControl, sfNone},
      {"type=Button", ctButton, sfBitmap},
      {"type=nonsense\naction=a", ctSimple, sfBitmap},
      {"type=control\nfill=color", ctControl, sfColor},
      {"fill=gradient", ctSimple, sfGradient},
      {"fill=none", ctSimple, sfNone},
      {"fill=sparkles", ctSimple, sfNone},
  };
  for (const auto& c : cases) {
    auto skin = parse(c.attrs);
    EXPECT_EQ(skin->controls[0].type, c.type) << c.attrs;
    EXPECT_EQ(skin->controls[0].fill, c.fill) << c.attrs;
  }
}

TEST(SkinParse, actionDefaultsToTheName) {
  auto skin = parse("name=play\n.\nname=stop\naction=stop2\naction1=fadestop\nrelaction=r\nonaction=on\noffaction=off");
  EXPECT_EQ(skin->controls[0].action, "play");
  EXPECT_EQ(skin->controls[0].type, ctSimple);  // the default action does not make a button
  const TSkinCtl& s = skin->controls[1];
  EXPECT_EQ(s.action, "stop2");
  EXPECT_EQ(s.action1, "fadestop");
  EXPECT_EQ(s.relaction, "r");
  EXPECT_EQ(s.onaction, "on");
  EXPECT_EQ(s.offaction, "off");
}

TEST(SkinParse, twoNumberStateValueTakesTheControlsOwnSize) {
  auto skin = parse("name=b\naction=b\nshape=5 5 30 15\nnormal=10 20");
  EXPECT_TRUE(sameRect(skin->controls[0].pictures[ssNormal].source, {10, 20, 40, 35}));
}

TEST(SkinParse, statePicturesDefaultToTheControlsPlaceMovedByTheSkinOffsets) {
  auto skin = parse("name=b\naction=b\nshape=10 10 20 10\n..\nhilite=0 100\ndown=0 200\nhilitedown=0 300");
  const TSkinCtl& b = skin->controls[0];
  EXPECT_TRUE(sameRect(b.pictures[ssNormal].source, {10, 10, 30, 20}));
  EXPECT_TRUE(sameRect(b.pictures[ssHilite].source, {10, 110, 30, 120}));
  EXPECT_TRUE(sameRect(b.pictures[ssDown].source, {10, 210, 30, 220}));
  EXPECT_TRUE(sameRect(b.pictures[ssHiliteDown].source, {10, 310, 30, 320}));
}

TEST(SkinParse, hiliteDownFallsBackToTheDownPicture) {
  // No "hilitedown": it takes the value of "down".
  auto a = parse("name=b\naction=b\nshape=10 10 20 10\n..\ndown=0 100");
  EXPECT_TRUE(sameRect(a->controls[0].pictures[ssHiliteDown].source, {10, 110, 30, 120}));
  // "hilitedown" 0 0: the down picture, even an explicit one.
  auto b = parse("name=b\naction=b\nshape=10 10 20 10\ndown=50 50 20 10\n..\nhilitedown=0 0");
  EXPECT_TRUE(sameRect(b->controls[0].pictures[ssHiliteDown].source, {50, 50, 70, 60}));
}

TEST(SkinParse, polygonDefaultPictureIsItsBoundingRectangle) {
  auto skin = parse("name=p\naction=p\nshape=polygon 4 4 24 4 14 20");
  EXPECT_TRUE(sameRect(skin->controls[0].pictures[ssNormal].source, {4, 4, 24, 20}));
}

TEST(SkinParse, colourAndGradientFills) {
  auto skin = parse(
      "name=c\nfill=color\nnormal=#FF0000\ndown=#0000FF\n.\n"
      "name=g\nfill=gradient\nnormal=#FF0000 #00FF00 #0000FF #FFFFFF\n.\n"
      "name=empty\nfill=gradient");
  const TSkinCtl& c = skin->controls[0];
  EXPECT_EQ(c.pictures[ssNormal].color, RGB(255, 0, 0));
  EXPECT_EQ(c.pictures[ssHilite].color, RGB(255, 0, 0));  // no key: the normal colour
  EXPECT_EQ(c.pictures[ssDown].color, RGB(0, 0, 255));
  const TSkinCtl& g = skin->controls[1];
  EXPECT_EQ(g.pictures[ssDown].gradient[1], RGB(0, 255, 0));
  EXPECT_EQ(g.pictures[ssDown].gradient[3], RGB(255, 255, 255));
  EXPECT_EQ(skin->controls[2].pictures[ssHilite].gradient[0], RGB(0, 0, 0));
}

TEST(SkinParse, windowGeometryDefaults) {
  auto skin = parse("name=a\n..\nregion=0 0 100 0 100 50", {320, 240});
  EXPECT_EQ(skin->defSize.cx, 320);  // the bitmap's size
  EXPECT_EQ(skin->defSize.cy, 240);
  EXPECT_EQ(skin->minSize.cx, 0);
  EXPECT_EQ(skin->hiliteOffset.y, 0);
  EXPECT_EQ(skin->region.size(), 3u);
  auto sized = parse("..\nminsize=100 40\ndefsize=300 80", {320, 240});
  EXPECT_EQ(sized->minSize.cx, 100);
  EXPECT_EQ(sized->defSize.cy, 80);
  EXPECT_TRUE(sized->controls.empty());
}

TEST(SkinParse, regionWithFewerThanThreePointsOrOddWordsIsHarmless) {
  EXPECT_TRUE(parse("..\nregion=0 0 10 10")->windowRegion(100, 100).empty());
  EXPECT_TRUE(parse("..\nregion=")->windowRegion(100, 100).empty());
  auto odd = parse("..\nregion=0 0 10 0 10 10 99");
  EXPECT_EQ(odd->windowRegion(100, 100).size(), 3u);
  auto farSkin = parse("..\nregion=0 0 !0 0 !0 !0 0 !0");
  std::vector<POINT> r = farSkin->windowRegion(80, 60);
  ASSERT_EQ(r.size(), 4u);
  EXPECT_EQ(r[2].x, 80);
  EXPECT_EQ(r[2].y, 60);
}

TEST(SkinParse, hugeNumbersAreClampedAndNeverOverflow) {
  auto skin = parse("name=h\naction=h\nshape=99999999 -99999999 99999999 99999999\nnormal=2147483647 2147483647\n..\n"
                    "defsize=99999999 99999999\nhilite=2147483647 2147483647");
  EXPECT_EQ(skin->defSize.cx, kSkinCoordLimit);
  const TSkinCtl& h = skin->controls[0];
  RECT b = h.bounds(100, 100);
  EXPECT_LE(b.right, 2 * kSkinCoordLimit);
  EXPECT_LE(h.pictures[ssHilite].source.right, kSkinCoordLimit);
}

TEST(SkinParse, emptyBlocksMakeNoControl) {
  // A stray "." would otherwise make a full-window control on top of all others.
  auto skin = parse("name=a\naction=a\nshape=0 0 10 10\n.\n.\n\n..");
  ASSERT_EQ(skin->controls.size(), 1u);
}

TEST(SkinHitTest, theLastControlInFileOrderLiesOnTop) {
  auto skin = parse("name=under\nshape=0 0 50 50\n.\nname=over\nshape=10 10 10 10\n.\nname=away\nshape=!10 !10 10 10");
  EXPECT_EQ(skin->hitTest({15, 15}, 200, 100), 1);
  EXPECT_EQ(skin->hitTest({5, 5}, 200, 100), 0);
  EXPECT_EQ(skin->hitTest({195, 95}, 200, 100), 2);
  EXPECT_EQ(skin->hitTest({100, 50}, 200, 100), -1);
}

TEST(SkinState, hiliteAndDownPartsFollowTheStateRules) {
  auto skin = parse("name=b\naction=b\n.\nname=s");
  TSkinCtl& b = skin->controls[0];
  EXPECT_TRUE(setHilitePart(b, true));
  EXPECT_EQ(b.state, ssHilite);
  EXPECT_FALSE(setHilitePart(b, true));  // no change, no redraw
  EXPECT_TRUE(setDownPart(b, true));
  EXPECT_EQ(b.state, ssHiliteDown);
  EXPECT_TRUE(setHilitePart(b, false));
  EXPECT_EQ(b.state, ssDown);
  EXPECT_TRUE(setDownPart(b, false));
  EXPECT_EQ(b.state, ssNormal);
  TSkinCtl& s = skin->controls[1];
  EXPECT_FALSE(setHilitePart(s, true));  // only buttons light up
  EXPECT_EQ(s.state, ssNormal);
}
