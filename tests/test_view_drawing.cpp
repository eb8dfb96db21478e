// The web page's drawing, in headless Chromium: a recording of known objects at known places (a red
// box on the left, a green sphere on the right, a blue ground, under matrices that are not the
// identity) shows their colours at the pixels the recorded matrices put them; picking a pixel
// selects the record drawn there; stepping to a record draws nothing of the records after it; the
// scene view places objects by their transforms.
#include "browsersupport.h"
#include "schemasupport.h"

#include <akdebugdraw.h>
#include <akdebugscene.h>
#include <camera.h>
#include <telr.h>
#include <tels.h>

#include <png.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <tuple>

namespace {

using browsersupport::has;

// The window the page is drawn in, with the drawing filling it (&full=1).
constexpr int WIDTH = 800, HEIGHT = 500;

struct Image
{
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
    const unsigned char* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

Image readPng(const std::string& path)
{
    Image image;
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str()))
        return image;
    png.format = PNG_FORMAT_RGBA;
    image.rgba.resize(PNG_IMAGE_SIZE(png));
    if (png_image_finish_read(&png, nullptr, image.rgba.data(), 0, nullptr)) {
        image.width = static_cast<int>(png.width);
        image.height = static_cast<int>(png.height);
    }
    png_image_free(&png);
    return image;
}

enum class Hue { Red, Green, Blue, None };

// The colour that stands out in a pixel (the shading dims it, the hue stays).
Hue hueOf(const unsigned char* p)
{
    const int r = p[0], g = p[1], b = p[2];
    if (r > g + 60 && r > b + 60)
        return Hue::Red;
    if (g > r + 60 && g > b + 60)
        return Hue::Green;
    if (b > r + 60 && b > g + 40)
        return Hue::Blue;
    return Hue::None;
}

// The hue most pixels within `radius` of (x, y) have.
Hue hueNear(const Image& image, int x, int y, int radius = 3)
{
    int counts[4] = {0, 0, 0, 0};
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (x + dx >= 0 && y + dy >= 0 && x + dx < image.width && y + dy < image.height)
                ++counts[static_cast<int>(hueOf(image.at(x + dx, y + dy)))];
    return static_cast<Hue>(std::max_element(counts, counts + 4) - counts);
}

// The mean x of the pixels of a hue, -1 when there is none.
double meanX(const Image& image, Hue hue)
{
    double sum = 0;
    long n = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (hueOf(image.at(x, y)) == hue) {
                sum += x;
                ++n;
            }
    return n ? sum / n : -1;
}

// A state whose material has this colour.
struct Painted
{
    explicit Painted(float r, float g, float b)
    {
        material.setColor(olMaterial::COLOR_DIFFUSE, r, g, b, 1.0f);
        element.material = &material;
        state.setElement(&element);
    }
    olMaterial material{"paint"};
    olMaterial::Element element;
    olState state{"painted"};
};

// The objects: a blue ground 40 by 40 at height 0, a red box of side 2 at (-4, 0, 1) turned by 30
// degrees, a green sphere of radius 1.5 at (4, 0, 1.5), seen by a camera at (0, -14, 7) looking at
// (0, 0, 1).
class KnownPlace
{
public:
    KnownPlace()
    {
        const emVec3<float> corners[4] = {{-20, -20, 0}, {20, -20, 0}, {20, 20, 0}, {-20, 20, 0}};
        ground.setPrimitive(olGeometryBase::PRIMITIVE_QUAD);
        ground.setVertices(corners, 4);
        box.setBox({emVec3<float>(-1, -1, -1), emVec3<float>(1, 1, 1)});
        sphere.setSphere(emSphere<float>(0, 0, 0, 1.5f));

        root = new kiNode("Known Place");
        root->ref();
        add(root, "Ground", &ground, &blue.state);
        kiTransform* left = new kiTransform("Left");
        left->setTranslate(-4, 0, 1);
        left->setRotate(30, 0, 0);
        root->addChild(left);
        boxNode = add(left, "Red Box", &box, &red.state);
        kiTransform* right = new kiTransform("Right");
        right->setTranslate(4, 0, 1.5);
        root->addChild(right);
        add(right, "Green Sphere", &sphere, &green.state);
    }
    ~KnownPlace() { kiNode::release(root); }

    kiGeometry* add(kiNode* parent, const char* name, const olGeometryBase* geometry, const olState* state)
    {
        kiGeometry* node = new kiGeometry(name);
        node->setGeometryBase(0, geometry);
        node->setState(0, state);
        parent->addChild(node);
        return node;
    }

    // Records one frame of the camera drawing ground, box and sphere, in that order.
    void record(const std::string& file)
    {
        view = camera::lookAt(eye, target);
        projection = camera::perspective(50, double(WIDTH) / HEIGHT, 1, 200);
        viewElement.matrix = camera::toFloat(view);
        projectionElement.matrix = camera::toFloat(projection);
        context.setElement(&viewElement);
        context.setElement(&projectionElement);
        channel.setDrawContext(&context);
        channel.addBin(&bin);
        const kiNode* nodes[3] = {root->getChild(0), root->getChild(1)->getChild(0), root->getChild(2)->getChild(0)};
        const emMatrix<double> worlds[3] = {emMatrix<double>::identity(),
                                            static_cast<const kiTransform*>(root->getChild(1))->getMatrixAffine(),
                                            static_cast<const kiTransform*>(root->getChild(2))->getMatrixAffine()};
        for (int i = 0; i < 3; ++i) {
            const auto* node = static_cast<const kiGeometry*>(nodes[i]);
            modelViews[i].matrix = camera::toFloat(camera::multiply(worlds[i], view));
            culls[i].options = kiCullRecord::OPTION_SET_MATRIX;
            culls[i].modelViewTransformElement = &modelViews[i];
            culls[i].state = node->getState(0);
            bin.addGeometry(&culls[i], node->getGeometryBase(0));
        }
        akDebugDraw recorder;
        ASSERT_EQ(recorder.write(file.c_str(), &channel, false), telu::SUCCESS);
        recorder.start(1);
        channel.drawFrame();
    }

    // The pixel of a world point in a WIDTH by HEIGHT drawing through the recorded camera.
    std::pair<int, int> pixel(double x, double y, double z) const
    {
        const emMatrix<double> m = camera::multiply(view, projection);
        double c[4];
        for (int j = 0; j < 4; ++j)
            c[j] = x * m.m[0][j] + y * m.m[1][j] + z * m.m[2][j] + m.m[3][j];
        return {static_cast<int>((c[0] / c[3] + 1) / 2 * WIDTH), static_cast<int>((1 - c[1] / c[3]) / 2 * HEIGHT)};
    }

    kiNode* root = nullptr;
    kiGeometry* boxNode = nullptr;

private:
    const double eye[3] = {0, -14, 7}, target[3] = {0, 0, 1};
    emMatrix<double> view, projection;
    Painted red{0.9f, 0.1f, 0.1f}, green{0.1f, 0.85f, 0.1f}, blue{0.15f, 0.25f, 0.9f};
    olGeometry ground{"Ground"};
    olBox box{"Box"};
    olSphere sphere{"Sphere"};
    olDrawContext context{"Known Context"};
    olTransform::ElementModelView viewElement;
    olTransform::ElementProjection projectionElement;
    olTransform::ElementModelView modelViews[3];
    kiGeometryBase::CullRecord culls[3];
    kiChannel channel{"Known Channel"};
    kiChannelBin bin{"Known Bin"};
};

class DrawingTest : public schemasupport::ModuleTest
{
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        dir = testsupport::tempDir();
        browsersupport::findBrowser(chromium);
    }
    std::string dir, chromium;
};

TEST_F(DrawingTest, AFrameShowsItsObjectsWhereTheRecordedMatricesPutThemAndPicksThem)
{
    if (chromium.empty())
        return;
    KnownPlace place;
    const std::string draw = dir + "/known.draw";
    ASSERT_NO_FATAL_FAILURE(place.record(draw));
    // Records: channel begin 0, ground 1, box 2, sphere 3, channel end 4.
    const auto boxAt = place.pixel(-4, 0, 1), sphereAt = place.pixel(4, 0, 1.5), groundAt = place.pixel(0, 8, 0);

    browsersupport::Child server({browsersupport::viewer(), "--serve", draw, "--port", "0"});
    const int port = browsersupport::serve(server);
    ASSERT_GT(port, 0);
    const std::string page = "http://127.0.0.1:" + std::to_string(port) + "/?view=frame&full=1";

    const Image shown = readPng(browsersupport::screenshot(chromium, page, dir, WIDTH, HEIGHT));
    ASSERT_EQ(shown.width, WIDTH);
    EXPECT_EQ(hueNear(shown, boxAt.first, boxAt.second), Hue::Red) << boxAt.first << "," << boxAt.second;
    EXPECT_EQ(hueNear(shown, sphereAt.first, sphereAt.second), Hue::Green) << sphereAt.first << "," << sphereAt.second;
    EXPECT_EQ(hueNear(shown, groundAt.first, groundAt.second), Hue::Blue) << groundAt.first << "," << groundAt.second;
    EXPECT_LT(meanX(shown, Hue::Red), WIDTH / 2.0);
    EXPECT_GT(meanX(shown, Hue::Green), WIDTH / 2.0);

    // Picking the sphere's pixel selects its record, which opens in the tree beside the view.
    const std::string picked = browsersupport::pageAfterScripts(
        chromium, page + "&pick=" + std::to_string(sphereAt.first) + "," + std::to_string(sphereAt.second), dir);
    EXPECT_TRUE(has(picked, "data-picked=\"3\"")) << picked.substr(0, 600);
    EXPECT_TRUE(has(picked, "<h1>Record 3</h1>")) << picked.substr(0, 600);
    EXPECT_EQ(server.end(SIGTERM), 0);

    // Written into one page, stepped to the box: the sphere drawn after it is not there.
    const std::string html = dir + "/known.html";
    browsersupport::Child written({browsersupport::viewer(), "--html", html, draw});
    ASSERT_EQ(written.wait(std::chrono::seconds(60)), 0);
    const Image stepped = readPng(
        browsersupport::screenshot(chromium, "file://" + html + "?view=frame&full=1&record=2", dir, WIDTH, HEIGHT));
    ASSERT_EQ(stepped.width, WIDTH);
    EXPECT_EQ(hueNear(stepped, boxAt.first, boxAt.second), Hue::Red);
    EXPECT_NE(hueNear(stepped, sphereAt.first, sphereAt.second), Hue::Green);
    EXPECT_LT(meanX(stepped, Hue::Green), 0) << "nothing green at all";
}

TEST_F(DrawingTest, TheSceneViewPlacesGeometryByItsTransforms)
{
    if (chromium.empty())
        return;
    // A pair turned by a heading of 90 degrees: its red box at +X lands at +Y, its green one at -X
    // at -Y. The scene view looks from the south-west, where +Y is to the left and -Y to the right.
    kiNode* root = new kiNode("Root");
    root->ref();
    kiTransform* pair = new kiTransform("Pair");
    pair->setTranslate(50, 0, 0);
    pair->setRotate(90, 0, 0);
    root->addChild(pair);
    Painted red{0.9f, 0.1f, 0.1f}, green{0.1f, 0.85f, 0.1f};
    olBox box{"Unit"};
    box.setBox({emVec3<float>(-1, -1, -1), emVec3<float>(1, 1, 1)});
    for (const auto& [name, x, state] :
         {std::make_tuple("Red", 3.0, &red.state), std::make_tuple("Green", -3.0, &green.state)}) {
        kiTransform* at = new kiTransform(name);
        at->setTranslate(x, 0, 0);
        pair->addChild(at);
        kiGeometry* node = new kiGeometry(name);
        node->setGeometryBase(0, &box);
        node->setState(0, state);
        at->addChild(node);
    }
    const std::string scene = dir + "/pair.scene";
    {
        akDebugScene writer;
        ASSERT_EQ(writer.write(scene.c_str(), root, false), telu::SUCCESS);
    }
    kiNode::release(root);

    browsersupport::Child server({browsersupport::viewer(), "--serve", scene, "--port", "0"});
    const int port = browsersupport::serve(server);
    ASSERT_GT(port, 0);
    const Image shown = readPng(browsersupport::screenshot(
        chromium, "http://127.0.0.1:" + std::to_string(port) + "/?view=scene&full=1&find=Pair", dir, WIDTH, HEIGHT));
    ASSERT_EQ(shown.width, WIDTH);
    const double redX = meanX(shown, Hue::Red), greenX = meanX(shown, Hue::Green);
    ASSERT_GE(redX, 0);
    ASSERT_GE(greenX, 0);
    EXPECT_LT(redX, WIDTH / 2.0);
    EXPECT_GT(greenX, WIDTH / 2.0);
    // The search framed the pair: the middle of the drawing lies between its two boxes.
    EXPECT_EQ(hueNear(shown, WIDTH / 2, HEIGHT / 2, 1), Hue::None);
    EXPECT_EQ(server.end(SIGTERM), 0);
}

}  // namespace
