// Names of value-parameterised test cases: GoogleTest takes only letters,
// digits and underscores, the case tables describe their cases in words.
#pragma once

#include <string>
#include <string_view>

namespace ovlet::test_support {

// The text with every character that is not a letter or digit made '_'.
std::string TestName(std::string_view text);

// The name generator of INSTANTIATE_TEST_SUITE_P for cases that carry a
// `name`.
struct CaseName {
    template <typename ParamInfo>
    std::string operator()(const ParamInfo& info) const {
        return TestName(info.param.name);
    }
};

}  // namespace ovlet::test_support
