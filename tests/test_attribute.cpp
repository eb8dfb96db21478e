// The attribute tree: reference counts, parent lists, registries, copies, comparisons and the exact
// type and value strings of every value kind.
#include "schemasupport.h"

#include <akdebugattributevalue.h>
#include <akdebugtels.h>

#include <cstring>
#include <string>

namespace {

using schemasupport::child;
using schemasupport::typeOf;
using schemasupport::valueOf;

class AttributeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        akDebugAttributeBase::initializeClass();
        testsupport::clear();
    }
    void TearDown() override { akDebugAttributeBase::shutdownClass(); }
};

// Holds one reference for the test's scope.
template <class A>
struct Held
{
    explicit Held(A* attribute) : a(attribute) { a->ref(); }
    ~Held() { a->unref(); }
    A* operator->() const { return a; }
    A* a;
};

TEST_F(AttributeTest, ReferenceCountsAndParents)
{
    akDebugAttribute<int>* value = new akDebugAttribute<int>("Value", 1);
    EXPECT_EQ(value->ref(), 0);
    EXPECT_EQ(value->getRef(), 1);
    EXPECT_EQ(value->unref(), 0);  // destroyed

    Held<akDebugGroup> a(new akDebugGroup("A"));
    Held<akDebugGroup> b(new akDebugGroup("B"));
    akDebugAttribute<int>* shared = new akDebugAttribute<int>("Shared", 2);
    EXPECT_EQ(a->insert_child(shared), telu::SUCCESS);
    EXPECT_EQ(a->insert_child(shared), telu::FAILURE);
    EXPECT_TRUE(testsupport::printed(5, "akDebugGroup::insert_child - attribute already in list"));
    EXPECT_EQ(b->insert_child(shared), telu::SUCCESS);
    EXPECT_EQ(shared->getRef(), 2);
    ASSERT_EQ(shared->size_parent(), 2u);
    EXPECT_EQ(shared->begin_parent()[0], a.a);
    EXPECT_EQ(shared->begin_parent()[1], b.a);

    EXPECT_EQ(a->erase_child(a->begin_child()), telu::SUCCESS);
    EXPECT_EQ(shared->getRef(), 1);
    EXPECT_EQ(shared->size_parent(), 1u);
    EXPECT_EQ(a->erase_child(a->end_child()), telu::FAILURE);
    EXPECT_TRUE(testsupport::printed(5, "akDebugGroup::erase_child - invalid iterator"));
    EXPECT_EQ(a->insert_child(nullptr), telu::FAILURE);
    EXPECT_TRUE(testsupport::printed(5, "akDebugGroup::insert_child - null attribute"));
    EXPECT_EQ(shared->insert_parent(b.a), telu::FAILURE);
    EXPECT_TRUE(testsupport::printed(5, "akDebugAttributeBase::insert_parent - attribute already in list"));
}

// An attribute the test can free itself once its count has saturated.
struct Releasable : akDebugAttribute<int>
{
    using akDebugAttribute<int>::akDebugAttribute;
    static void destroy(Releasable* a) { delete a; }
};

TEST_F(AttributeTest, ParentObjectIsTheNearestObjectOnTheFirstParentChain)
{
    akDebugTypeDef::initializeClass();
    {
        akDebugTypeDef def("Thing", nullptr, nullptr, nullptr, akDebugObject::create, 0);
        akDebugType type(&def, 0);
        Held<akDebugObject> object(new akDebugObject("Object", 0x10, &type));
        akDebugGroup* group = new akDebugGroup("Group");
        akDebugAttribute<int>* leaf = new akDebugAttribute<int>("Leaf", 3);
        object->insert_child(group);
        group->insert_child(leaf);
        EXPECT_EQ(object->getParentObject(), object.a);
        EXPECT_EQ(leaf->getParentObject(), object.a);
        Held<akDebugAttribute<int>> lone(new akDebugAttribute<int>("Lone", 4));
        EXPECT_EQ(lone->getParentObject(), nullptr);
    }
    akDebugTypeDef::shutdownClass();
}

TEST_F(AttributeTest, ReferenceCountSaturatesInsteadOfWrapping)
{
    Releasable* value = new Releasable("Value", 1);
    for (int i = 0; i < 65535; ++i)
        value->ref();
    EXPECT_EQ(value->getRef(), 65535);
    value->ref();
    EXPECT_TRUE(testsupport::printed(6, "akDebugAttributeBase::ref - incrementing beyond maximum value"));
    EXPECT_EQ(value->getRef(), 65535);
#ifndef NDEBUG
    EXPECT_EQ(testsupport::assertions(), 1);
#endif
    // A saturated count no longer knows its holders: it stays, and the attribute is kept alive.
    EXPECT_EQ(value->unref(), 65535);

    akDebugAttribute<int>* fresh = new akDebugAttribute<int>("Fresh", 1);
    EXPECT_EQ(fresh->unref(), 0);
    EXPECT_TRUE(testsupport::printed(6, "akDebugAttributeBase::ref - decrementing beyond minimum value"));
    fresh->ref();
    fresh->unref();
    Releasable::destroy(value);
}

TEST_F(AttributeTest, ErrorsToolTipsAndAdvancedTravelWithCopies)
{
    Held<akDebugAttribute<int>> a(new akDebugAttribute<int>("A", 1));
    akDebugAttributeBase::registerError(a.a, static_cast<emNotify::Level>(1), "ignored", false);
    EXPECT_EQ(akDebugAttributeBase::getMaxErrorLevel(a.a), -1);
    akDebugAttributeBase::registerError(a.a, emNotify::LEVEL_NOTICE, "three", false);
    akDebugAttributeBase::registerError(a.a, emNotify::LEVEL_FAIL, "six", false);
    akDebugAttributeBase::registerError(a.a, emNotify::LEVEL_DEBUG, "four", false);
    EXPECT_EQ(akDebugAttributeBase::getMaxErrorLevel(a.a), 6);
    akDebugAttributeBase::registerToolTip(a.a, "first");
    akDebugAttributeBase::registerToolTip(a.a, "second");
    EXPECT_STREQ(akDebugAttributeBase::getToolTip(a.a), "first");
    akDebugAttributeBase::registerAdvanced(a.a);

    Held<akDebugAttributeBase> copy(a->makeCopy());
    EXPECT_TRUE(copy->compare(a.a));
    EXPECT_EQ(akDebugAttributeBase::getMaxErrorLevel(copy.a), 6);
    EXPECT_STREQ(akDebugAttributeBase::getToolTip(copy.a), "first");
    EXPECT_TRUE(akDebugAttributeBase::isAdvanced(copy.a));
    EXPECT_EQ(schemasupport::errors(copy.a), (schemasupport::Rows{"3: three", "6: six", "4: four"}));

    Held<akDebugAttribute<int>> local(new akDebugAttribute<int>("Local", 1));
    akDebugAttributeBase::registerError(local.a, emNotify::LEVEL_WARN, "kept here", true);
    Held<akDebugAttributeBase> localCopy(local->makeCopy());
    EXPECT_EQ(akDebugAttributeBase::getMaxErrorLevel(localCopy.a), -1);
    EXPECT_EQ(akDebugAttributeBase::size_error(), 7u);
}

// Tool tips are kept once per text for all the attributes that show it: each keeps its text
// through copies and the destruction of the others, a mask's bit string included.
TEST_F(AttributeTest, ToolTipsOutliveTheAttributesThatShareThem)
{
    std::vector<akDebugAttributeBase*> held;
    auto add = [&](akDebugAttributeBase* attribute, const char* tip) {
        attribute->ref();
        akDebugAttributeBase::registerToolTip(attribute, tip);
        held.push_back(attribute);
        return attribute;
    };
    char bits[33];
    akDebugBitmask<unsigned int>::getDefaultToolTip(bits, 0x5u);
    akDebugAttributeBase* mask = add(new akDebugBitmask<unsigned int>("Mask", 0x5u), bits);
    akDebugBitmask<unsigned short>::getDefaultToolTip(bits, 0x5u);
    add(new akDebugBitmask<unsigned short>("Short Mask", 0x5u), bits);
    // A mask's tip that is not its bit string, and texts shared by many attributes.
    add(new akDebugBitmask<unsigned int>("Named", 0x3u), "BIT_0 |\nBIT_1");
    for (int i = 0; i < 1000; ++i)
        add(new akDebugAttribute<int>("Value", i), i % 3 ? "shared" : "other");
    akDebugAttributeBase* copy = held[4]->makeCopy();
    copy->ref();
    akDebugAttributeBase* maskCopy = mask->makeCopy();
    maskCopy->ref();
    // Every other attribute goes: the rest keep their tips.
    for (size_t i = 0; i < held.size(); i += 2) {
        held[i]->unref();
        held[i] = nullptr;
    }
    EXPECT_STREQ(akDebugAttributeBase::getToolTip(held[1]), "1010000000000000");
    EXPECT_STREQ(akDebugAttributeBase::getToolTip(maskCopy), "10100000000000000000000000000000");
    for (size_t i = 3; i < held.size(); i += 2)
        EXPECT_STREQ(akDebugAttributeBase::getToolTip(held[i]), (i - 3) % 3 ? "shared" : "other") << i;
    for (akDebugAttributeBase* attribute : held)
        if (attribute)
            attribute->unref();
    EXPECT_STREQ(akDebugAttributeBase::getToolTip(copy), "shared");
    copy->unref();
    maskCopy->unref();
}

TEST_F(AttributeTest, PersistentNames)
{
    char one[] = "Representation 1";
    std::string two = "Representation 1";
    const char* p = akDebugAttributeBase::getPersistentName(one);
    EXPECT_EQ(p, akDebugAttributeBase::getPersistentName(two.c_str()));
    EXPECT_NE(p, one);
    EXPECT_STREQ(akDebugAttributeBase::getPersistentIndexName(0), "0");
    EXPECT_STREQ(akDebugAttributeBase::getPersistentIndexName(9), "9");
    EXPECT_STREQ(akDebugAttributeBase::getPersistentIndexName(12), "12");
    EXPECT_EQ(akDebugAttributeBase::getPersistentIndexName(3), akDebugAttributeBase::getPersistentIndexName(3));
}

TEST_F(AttributeTest, LeafStrings)
{
    struct Case
    {
        akDebugAttributeBase* attribute;
        const char* type;
        const char* value;
    };
    const Case cases[] = {
        {new akDebugAttribute<bool>("b", true), "bool", "true"},
        {new akDebugAttribute<bool>("b", false), "bool", "false"},
        {new akDebugAttribute<char>("c", static_cast<char>(0xFF)), "char", "-1"},
        {new akDebugAttribute<unsigned char>("c", 0xFF), "unsigned char", "255"},
        {new akDebugAttribute<short>("s", -7), "short", "-7"},
        {new akDebugAttribute<unsigned short>("s", 65535), "unsigned short", "65535"},
        {new akDebugAttribute<int>("i", -42), "int", "-42"},
        {new akDebugAttribute<unsigned int>("u", 0xFFFFFFFFu), "unsigned int", "-1"},
        {new akDebugAttribute<float>("f", 0.5f), "float", "0.5"},
        {new akDebugAttribute<double>("d", 1e-7), "double", "1e-07"},
        {new akDebugAttribute<emString>("e", emString("x")), "Unknown", "Unknown"},
        {new akDebugVec2<float>("v", emVec2<float>(1, 2)), "emVec2<float>", "1, 2"},
        {new akDebugVec3<double>("v", emVec3<double>(1, 2, 3)), "emVec3<double>", "1, 2, 3"},
        {new akDebugVec4<float>("v", emVec4<float>(1, 2, 3, 4)), "emVec4<float>", "1, 2, 3, 4"},
        {new akDebugRGB("c", emVec3<float>(1, 0.5f, 0)), "emVec3<float>", "r=1, g=0.5, b=0"},
        {new akDebugRGBA("c", emVec4<float>(1, 0.5f, 0, 1)), "emVec4<float>", "r=1, g=0.5, b=0, a=1"},
        {new akDebugXYZ<float>("p", emVec3<float>(1, 2, 3)), "emVec3<float>", "x=1, y=2, z=3"},
        {new akDebugXYZ<double>("p", emVec3<double>(1, 2, 3)), "emVec3<double>", "x=1, y=2, z=3"},
        {new akDebugHPR<double>("r", emVec3<double>(10, 20, 30)), "emVec3<double>", "h=10, p=20, r=30"},
        {new akDebugLLE<double>("g", emVec3<double>(7, 8, 9)), "emVec3<double>", "lon=7, lat=8, el=9"},
        {new akDebugST<float>("t", emVec2<float>(1, 2)), "emVec2<float>", "s=1, t=2"},
        {new akDebugSTQ<float>("t", emVec3<float>(1, 2, 3)), "emVec3<float>", "s=1, t=2, q=3"},
        {new akDebugSTQR<float>("t", emVec4<float>(1, 2, 3, 4)), "emVec4<float>", "s=1, t=2, q=3, r=4"},
        {new akDebugString("s", "abc"), "emString", "\"abc\""},
        {new akDebugBitmask<unsigned short>("m", 5), "unsigned short", "0x5"},
        {new akDebugBitmask<unsigned int>("m", 0xDEADBEEF), "unsigned int", "0xDEADBEEF"},
        {new akDebugArray<float>("a", 0), "float *", "0x0"},
        {new akDebugArray<emVec4<double>>("a", 0xAB), "emVec4<double> *", "0xAB"},
        {new akDebugArray<void>("a", 0x10), "Unknown", "0x10"},
        {new akDebugMatrix<float>("m", emMatrix<float>::identity()), "emMatrix<float>", ""},
        {new akDebugBox<double>("b", emBox<double>()), "emBox<double>", ""},
        {new akDebugPlane<float>("p", emPlane<float>()), "emPlane<float>", ""},
        {new akDebugSphere<double>("s", emSphere<double>()), "emSphere<double>", ""},
        {new akDebugFrustum<float>("f", emFrustum<float>()), "emFrustum<float>", ""},
        // The scene graph's special values.
        {new akDebugActiveMask("m", -1), "int", "SELECT_ALL"},
        {new akDebugActiveMask("m", -2), "int", "SELECT_NONE"},
        {new akDebugActiveMask("m", -3), "int", "-3"},
        {new akDebugNumberOfLoops("n", 65535), "int", "LOOP_INFINITE"},
        {new akDebugNumberOfLoops("n", -1), "int", "-1"},
        {new akDebugLastChildDuration("d", -1.0), "double", "LAST_CHILD_DURATION_UNSPECIFIED"},
        {new akDebugLastChildDuration("d", 2.5), "double", "2.5"},
    };
    for (const Case& c : cases) {
        c.attribute->ref();
        EXPECT_EQ(typeOf(c.attribute), c.type) << c.value;
        EXPECT_EQ(valueOf(c.attribute), c.value) << c.type;
        // Every kind copies into its own kind, with the same strings, and compares equal.
        akDebugAttributeBase* copy = c.attribute->makeCopy();
        copy->ref();
        EXPECT_EQ(typeOf(copy), c.type);
        EXPECT_EQ(valueOf(copy), c.value);
        EXPECT_TRUE(copy->compare(c.attribute)) << c.type;
        EXPECT_EQ(copy->size_child(), c.attribute->size_child());
        copy->unref();
        c.attribute->unref();
    }
}

TEST_F(AttributeTest, CompoundChildren)
{
    Held<akDebugMatrix<float>> matrix(new akDebugMatrix<float>("M", emMatrix<float>::identity()));
    ASSERT_EQ(matrix->size_child(), 4u);
    const akDebugAttributeBase* row2 = child(matrix.a, 2);
    EXPECT_STREQ(row2->getName(), "Row 2");
    ASSERT_EQ(row2->size_child(), 4u);
    EXPECT_STREQ(child(row2, 2)->getName(), "Column 2");
    EXPECT_EQ(valueOf(child(row2, 2)), "1");
    EXPECT_EQ(valueOf(child(row2, 3)), "0");

    emBox<float> box;
    box.minimum = emVec3<float>(-1, -2, -3);
    box.maximum = emVec3<float>(1, 2, 3);
    Held<akDebugBox<float>> boxAttr(new akDebugBox<float>("B", box));
    Held<akDebugAttributeBase> copy(boxAttr->makeCopy());
    ASSERT_EQ(copy->size_child(), 2u);
    EXPECT_STREQ(child(copy.a, 0)->getName(), "Minimum");
    EXPECT_EQ(valueOf(child(copy.a, 1)), "x=1, y=2, z=3");
    EXPECT_TRUE(copy->compare(boxAttr.a));

    emFrustum<double> frustum;
    frustum.planes[5] = emPlane<double>(0, 0, 1, 9);
    Held<akDebugFrustum<double>> f(new akDebugFrustum<double>("F", frustum));
    ASSERT_EQ(f->size_child(), 6u);
    EXPECT_STREQ(child(f.a, 5)->getName(), "Plane, Far");
    EXPECT_EQ(valueOf(child(child(f.a, 5), 1)), "9");
}

TEST_F(AttributeTest, GroupsCompareByChildrenAndArraysByAddressFirst)
{
    Held<akDebugGroup> g(new akDebugGroup("G"));
    Held<akDebugGroup> h(new akDebugGroup(g->getName()));
    const char* x = "x";
    g->insert_child(new akDebugAttribute<float>(x, 1.5f));
    h->insert_child(new akDebugAttribute<float>(x, 1.5f));
    EXPECT_TRUE(g->compare(h.a));
    g->insert_child(new akDebugAttribute<float>(x, 2.5f));
    EXPECT_FALSE(g->compare(h.a));
    Held<akDebugAttributeBase> copy(g->makeCopy());
    EXPECT_TRUE(copy->compare(g.a));
    EXPECT_EQ(copy->size_child(), 2u);
    // A damaged file can put attributes of another kind where a group's children stand: they
    // differ, and nothing is read through the wrong kind (the sanitizer build checks).
    Held<akDebugGroup> other(new akDebugGroup(g->getName()));
    other->insert_child(new akDebugObject(x, 0x10, nullptr));
    other->insert_child(new akDebugAttribute<float>(x, 2.5f));
    EXPECT_FALSE(g->compare(other.a));
    EXPECT_FALSE(other->compare(g.a));

    // Arrays at the same address are equal whatever their elements; otherwise the elements decide.
    const char* zero = akDebugAttributeBase::getPersistentIndexName(0);
    Held<akDebugArray<int>> a(new akDebugArray<int>("A", 0x100));
    Held<akDebugArray<int>> b(new akDebugArray<int>(a->getName(), 0x100));
    a->insert_child(new akDebugAttribute<int>(zero, 1));
    EXPECT_TRUE(a->compare(b.a));
    Held<akDebugArray<int>> c(new akDebugArray<int>(a->getName(), 0x200));
    c->insert_child(new akDebugAttribute<int>(zero, 1));
    EXPECT_TRUE(a->compare(c.a));
    Held<akDebugArray<int>> d(new akDebugArray<int>(a->getName(), 0x300));
    d->insert_child(new akDebugAttribute<int>(zero, 2));
    EXPECT_FALSE(a->compare(d.a));
}

TEST_F(AttributeTest, AttributesUseTheHostAllocator)
{
    size_t before = emAllocRaw::getNumBlocks();
    akDebugGroup* group = new akDebugGroup("G");
    group->ref();
    group->insert_child(new akDebugAttribute<int>("I", 1));
    EXPECT_EQ(emAllocRaw::getNumBlocks(), before + 3);  // the group, its child and its child list
    group->unref();
    EXPECT_EQ(emAllocRaw::getNumBlocks(), before);
}

}  // namespace
