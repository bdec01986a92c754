#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "imaging/image.h"

using namespace imaging;

namespace {

struct ImageTable : ::testing::Test {
  void SetUp() override { free_all_images(); }
  void TearDown() override { free_all_images(); }
};

TEST_F(ImageTable, UnknownNumbersGiveNeutralValues) {
  EXPECT_FALSE(image_exists(7));
  EXPECT_EQ(image_width(7), 0);
  EXPECT_EQ(image_height(7), 0);
  EXPECT_EQ(image_ptr(7), nullptr);
  EXPECT_EQ(image_pixel(7, 0, 0), 0u);
  EXPECT_EQ(copy_image(7, 8), -1);
  EXPECT_FALSE(image_exists(8));
  set_image_pixel(7, 0, 0, rgba(1, 2, 3));  // must not create anything
  free_image(7);
  EXPECT_FALSE(image_exists(7));
}

TEST_F(ImageTable, CreateGivesTransparentBlackOfTheSize) {
  ASSERT_EQ(create_image(5, 3, 2), 5);
  EXPECT_EQ(image_width(5), 3);
  EXPECT_EQ(image_height(5), 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(image_pixel(5, x, y), 0u);
}

TEST_F(ImageTable, SizesOutOfRangeFailAndKeepTheOldImage) {
  ASSERT_EQ(create_image(5, 2, 2), 5);
  set_image_pixel(5, 1, 1, rgba(9, 8, 7, 6));
  const int bad[][2] = {{0, 5}, {5, 0}, {-1, 5}, {kMaxImageSide + 1, 1}, {1, kMaxImageSide + 1}};
  for (auto& s : bad) {
    EXPECT_EQ(create_image(5, s[0], s[1]), -1) << s[0] << " x " << s[1];
    EXPECT_EQ(create_image(kAnyImage, s[0], s[1]), -1);
  }
  EXPECT_EQ(image_pixel(5, 1, 1), rgba(9, 8, 7, 6));
  EXPECT_EQ(create_image(-5, 2, 2), -1);
  EXPECT_FALSE(image_exists(-5));
}

TEST_F(ImageTable, TakenNumberIsReplaced) {
  ASSERT_EQ(create_image(5, 2, 2), 5);
  set_image_pixel(5, 0, 0, rgba(1, 1, 1));
  ASSERT_EQ(create_image(5, 4, 1), 5);
  EXPECT_EQ(image_width(5), 4);
  EXPECT_EQ(image_height(5), 1);
  EXPECT_EQ(image_pixel(5, 0, 0), 0u);
}

TEST_F(ImageTable, DynamicNumbersAreFreshAndDoNotTouchFixedOnes) {
  ASSERT_EQ(create_image(kFirstDynamicImage + 1, 1, 1), kFirstDynamicImage + 1);
  int a = create_image(kAnyImage, 1, 1);
  int b = create_image(kAnyImage, 1, 1);
  int c = create_image(kAnyImage, 1, 1);
  EXPECT_EQ(a, kFirstDynamicImage);
  EXPECT_EQ(b, kFirstDynamicImage + 2);  // skips the explicitly taken number
  EXPECT_EQ(c, kFirstDynamicImage + 3);
  free_image(a);
  int d = create_image(kAnyImage, 1, 1);
  EXPECT_NE(d, a);  // a freed number is not handed out again
  EXPECT_TRUE(image_exists(kFirstDynamicImage + 1));
}

// Numbers far beyond those handed out so far, and the run-time numbers
// growing up to and past one of them.
TEST_F(ImageTable, FarNumbersKeepTheirImagesAsRunTimeNumbersReachThem) {
  const int far_numbers[] = {kFirstDynamicImage + 6000, kFirstDynamicImage + 100000000, INT_MAX};
  for (int n : far_numbers) {
    ASSERT_EQ(create_image(n, 2, 1), n);
    set_image_pixel(n, 1, 0, rgba(4, 5, 6));
  }
  std::vector<int> handed_out;
  for (int i = 0; i < 7000; ++i) handed_out.push_back(create_image(kAnyImage, 1, 1));
  EXPECT_EQ(std::count(handed_out.begin(), handed_out.end(), kFirstDynamicImage + 6000), 0);
  EXPECT_EQ(handed_out.back(), kFirstDynamicImage + 7000);  // one number skipped
  for (int n : far_numbers) {
    EXPECT_EQ(image_pixel(n, 1, 0), rgba(4, 5, 6)) << n;
    free_image(n);
    EXPECT_FALSE(image_exists(n)) << n;
  }
  EXPECT_TRUE(image_exists(kFirstDynamicImage + 6999));
}

TEST_F(ImageTable, CopyIsIndependentAndMayTargetItself) {
  ASSERT_EQ(create_image(1, 2, 2), 1);
  set_image_pixel(1, 1, 0, rgba(10, 20, 30, 40));
  int n = copy_image(1, kAnyImage);
  ASSERT_GE(n, kFirstDynamicImage);
  EXPECT_EQ(image_pixel(n, 1, 0), rgba(10, 20, 30, 40));
  set_image_pixel(n, 1, 0, rgba(1, 1, 1));
  EXPECT_EQ(image_pixel(1, 1, 0), rgba(10, 20, 30, 40));
  EXPECT_EQ(copy_image(1, 1), 1);
  EXPECT_EQ(image_pixel(1, 1, 0), rgba(10, 20, 30, 40));
  ASSERT_EQ(create_image(2, 9, 9), 2);
  EXPECT_EQ(copy_image(1, 2), 2);
  EXPECT_EQ(image_width(2), 2);
}

TEST_F(ImageTable, AdoptRejectsMalformedImages) {
  Image good(2, 1);
  EXPECT_EQ(adopt_image(3, std::move(good)), 3);
  EXPECT_EQ(image_width(3), 2);
  Image empty;
  EXPECT_EQ(adopt_image(4, std::move(empty)), -1);
  Image lying(2, 2);
  lying.pixels.resize(4);
  EXPECT_EQ(adopt_image(4, std::move(lying)), -1);
  EXPECT_FALSE(image_exists(4));
}

TEST_F(ImageTable, PointersStayValidWhileOthersComeAndGo) {
  ASSERT_EQ(create_image(1, 1, 1), 1);
  Image* p = image_ptr(1);
  for (int i = 0; i < 100; ++i) create_image(kAnyImage, 1, 1);
  free_image(kFirstDynamicImage + 3);
  EXPECT_EQ(image_ptr(1), p);
}

TEST(Pixels, OutsideTheImageIsIgnored) {
  Image img(2, 2);
  set_pixel(img, -1, 0, rgba(1, 2, 3));
  set_pixel(img, 2, 0, rgba(1, 2, 3));
  set_pixel(img, 0, 2, rgba(1, 2, 3));
  for (uint8_t b : img.pixels) EXPECT_EQ(b, 0);
  set_pixel(img, 1, 1, rgba(1, 2, 3, 4));
  EXPECT_EQ(get_pixel(img, 1, 1), rgba(1, 2, 3, 4));
  EXPECT_EQ(img.at(1, 1)[0], 1);
  EXPECT_EQ(img.at(1, 1)[3], 4);
  EXPECT_EQ(get_pixel(img, 5, -5), 0u);
  Image big(kMaxImageSide + 1, 1);
  EXPECT_EQ(big.width, 0);
  EXPECT_TRUE(big.pixels.empty());
}

}  // namespace
