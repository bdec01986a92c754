#pragma once
// Starts each test from an empty project with counter 1 and no images.
#include <gtest/gtest.h>

#include "imaging/image.h"
#include "maker/project/records.h"

class EmptyProject : public ::testing::Test {
 protected:
  void SetUp() override {
    clear_resource_lists();
    reset_program_values();
    imaging::free_all_images();
  }
  void TearDown() override {
    clear_resource_lists();
    imaging::free_all_images();
  }
};
