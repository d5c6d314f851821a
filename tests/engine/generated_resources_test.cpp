// The embedded resources are exactly what our generator makes.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "tests/engine/engine_test_support.h"
#include "tools/resource_generator.h"

namespace velmora::engine {
namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
}

TEST(GeneratedResources, TheGeneratorMakesTheEmbeddedBytes) {
    const auto generated = tools::GenerateResources(tools::kDefaultFontFolder);
    ASSERT_EQ(generated.size(), 11u);
    for (const auto& resource : generated) {
        SCOPED_TRACE(resource.name);
        const auto committed =
            ReadFile(std::string(VELMORA_PACKED_RESOURCE_DIR) + "/" + resource.name);
        EXPECT_EQ(resource.packed, committed);
        EXPECT_EQ(resource.packed, testing::PackedBytes(resource.name.c_str()));
    }
}

}  // namespace
}  // namespace velmora::engine
