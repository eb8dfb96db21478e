// The host render library, where the module depends on it: the element kind lists that fix the
// order and number of element records.
#include "testsupport.h"

#include <telr.h>

#include <algorithm>

namespace {

// An element kind of the test's own, unknown to the library's default lists.
class CustomFogElement : public olFog::Element
{
    EM_CLASS_TYPE_DECLARE();
};
EM_CLASS_TYPE_DEFINE(CustomFogElement, "CustomFogElement", olFog::Element::getStaticClassType())

class TelrTest : public ::testing::Test
{
protected:
    void TearDown() override { olElement::resetIds(); }
};

TEST_F(TelrTest, ElementIdListsHoldTheDefaultKindsAndTakeNewOnes)
{
    ASSERT_EQ(olElement::size_state(), 25);
    ASSERT_EQ(olElement::size_context(), 25);
    EXPECT_STREQ((*olElement::begin_state())->getName(), "olAlphaBlend::Element");
    EXPECT_STREQ(olElement::begin_state()[6]->getName(), "olFog::Element");
    EXPECT_STREQ(olElement::begin_state()[16]->getName(), "olShader::ElementFragment");
    EXPECT_STREQ((*(olElement::end_state() - 1))->getName(), "olTransform::ElementTexture");
    EXPECT_TRUE(std::equal(olElement::begin_state(), olElement::end_state(), olElement::begin_context()));

    olElement::Id custom = CustomFogElement::getStaticClassType();
    olElement::addStateId(custom);
    olElement::addStateId(custom);  // a second add changes nothing
    EXPECT_EQ(olElement::size_state(), 26);
    EXPECT_EQ(olElement::indexOf_state(custom), 25);
    EXPECT_EQ(olElement::size_context(), 25);  // the lists are independent

    olElement::removeStateId(olAlphaBlend::Element::getStaticClassType());
    EXPECT_EQ(olElement::size_state(), 25);
    EXPECT_STREQ((*olElement::begin_state())->getName(), "olAlphaTest::Element");
    olElement::removeStateId(custom);
    EXPECT_EQ(olElement::indexOf_state(custom), -1);
}

}  // namespace
