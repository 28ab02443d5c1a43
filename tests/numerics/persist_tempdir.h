// A scratch directory per test for the persistence tests, with helpers to write and read the
// raw bytes of its files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class PersistTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    FDir = std::filesystem::temp_directory_path() /
           ("velmo_persist_" + std::string(info->test_suite_name()) + "_" + info->name());
    std::filesystem::remove_all(FDir);
    std::filesystem::create_directories(FDir);
  }
  void TearDown() override { std::filesystem::remove_all(FDir); }

  std::string PathOf(const std::string& Name) const { return (FDir / Name).string(); }
  std::string Write(const std::string& Name, const std::string& Bytes) const {
    std::ofstream(PathOf(Name), std::ios::binary) << Bytes;
    return PathOf(Name);
  }
  static std::string Read(const std::string& Path) {
    std::ifstream in(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  // A path whose directory does not exist: nothing can be written there.
  std::string UnwritablePath() const { return (FDir / "missing" / "out.txt").string(); }

  std::filesystem::path FDir;
};
