#include "core/files/file_places.h"

#include <gtest/gtest.h>

namespace tempodial {
namespace {

TEST(FilePlaces, DataDirectoryIsTheWexFolderBelowTheRoot) {
  EXPECT_EQ(placeFolder("/home/u/.local/share/tempodial", Place::Data),
            "/home/u/.local/share/tempodial/wex");
  EXPECT_EQ(placeFolder("/r/", Place::Windows), "/r");
}

TEST(FilePlaces, NamesAreLowerCaseOnDisk) {
  EXPECT_EQ(placePath("/r", Place::Data, "Seconds.TME"), "/r/wex/seconds.tme");
  EXPECT_EQ(placePath("/r", Place::Windows, files::kButtShow), "/r/buttshow.opt");
}

struct ClassicCase {
  const char* name;
  const char* classic;
  const char* host;  // nullptr: not a place of the program
};

class ClassicPathMapping : public testing::TestWithParam<ClassicCase> {};

TEST_P(ClassicPathMapping, MapsOntoTheRootInAnyLetterCase) {
  auto mapped = mapClassicPath("/r", GetParam().classic);
  if (GetParam().host == nullptr) {
    EXPECT_FALSE(mapped.has_value());
  } else {
    ASSERT_TRUE(mapped.has_value());
    EXPECT_EQ(*mapped, GetParam().host);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ClassicPathMapping,
    testing::Values(ClassicCase{"DataDirUpperCase", "C:\\windows\\WEX\\", "/r/wex"},
                    ClassicCase{"DataDirNoSlash", "C:\\windows\\WEX", "/r/wex"},
                    ClassicCase{"DataFile", "C:\\windows\\wex\\seconds.tme", "/r/wex/seconds.tme"},
                    ClassicCase{"MixedCase", "c:\\WINDOWS\\Wex\\Cost.Tme", "/r/wex/cost.tme"},
                    ClassicCase{"WindowsDirFile", "C:\\windows\\buttshow.opt", "/r/buttshow.opt"},
                    ClassicCase{"ForwardSlashes", "C:/windows/wex/last3.cst", "/r/wex/last3.cst"},
                    ClassicCase{"OtherDrive", "D:\\windows\\wex", nullptr},
                    ClassicCase{"OtherFolder", "C:\\temp\\x", nullptr},
                    ClassicCase{"EscapeAttempt", "C:\\windows\\..\\etc\\passwd", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tempodial
