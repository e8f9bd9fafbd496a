// Every stored object class is readable in the content suites, as it is in
// the program once the document has started.
#include "content/contenttypes.h"

#include <gtest/gtest.h>

namespace {

class ContentTypesEnvironment : public ::testing::Environment {
public:
    void SetUp() override { RegisterContentTypes(); }
};

[[maybe_unused]] ::testing::Environment* const kContentTypes =
    ::testing::AddGlobalTestEnvironment(new ContentTypesEnvironment);

} // namespace
