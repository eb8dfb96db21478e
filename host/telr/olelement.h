// Render state elements: the element root class with the lists of element kinds, the validation
// message list, and the element kinds that carry plain values (blending, tests, rasterisation,
// transforms). Element kinds that point at state objects (fog, light, light model, material,
// shader, texturing) are nested in those objects' classes in olstateobjects.h.
//
// Queries without an exported host name (plain descriptive names):
//   olElement::isTransparent()                         whether the element makes drawing transparent
//   olElement::validate(int level, olMessageList&)     the element's own checks
#pragma once

#include <embase.h>
#include <emvalues.h>

#include <utility>
#include <vector>

// Validation messages: (level, text) pairs appended by the validation functions of this library.
//
// Validation level: the `level` argument picks how much detail the caller wants. Problems
// (LEVEL_ALWAYS, LEVEL_FATAL, LEVEL_WARN, LEVEL_FAIL) are always reported; the detail levels
// LEVEL_INFO (2), LEVEL_NOTICE (3) and LEVEL_DEBUG (4) are reported only when they are not above
// `level`. So level 4 reports everything, level 1 only problems.
using olMessageList = std::vector<std::pair<emNotify::Level, emString>>;

// True when a message of `messageLevel` is reported by a validation asked for `level`.
bool olValidationReports(int level, int messageLevel);
// Formats a message and appends it when a validation asked for `level` reports `messageLevel`.
void olAppendMessage(olMessageList& messages, int level, emNotify::Level messageLevel, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

// Number of texture stages of the render library.
enum { OL_NUM_STAGES = 8 };

// Root of the render state elements. An element kind is identified by its class type (Id); a state
// or a draw context holds at most one element per kind.
class olElement : public virtual emClassObject
{
    EM_CLASS_TYPE_DECLARE();

public:
    using Id = emClassType*;
    using const_iterator_id = std::vector<emClassType*>::const_iterator;

    ~olElement() override = default;

    virtual bool isTransparent() const { return false; }
    // Appends the element's own problems (for instance an enabled stage without a texture).
    virtual void validate(int level, olMessageList& messages) const;

    // The element kinds a state can hold, in the host's order (by default the 25 kinds from
    // olAlphaBlend::Element to olTransform::ElementTexture).
    static const_iterator_id begin_state();
    static const_iterator_id end_state();
    static int size_state();
    // Position of `id` in the state list, -1 when it is not listed.
    static int indexOf_state(Id id);
    // The element kinds a draw context tracks (by default the same 25 kinds).
    static const_iterator_id begin_context();
    static const_iterator_id end_context();
    static int size_context();
    static int indexOf_context(Id id);

    // Adds a kind at the end of a list (ignored when null or already listed); removes a kind.
    static void addStateId(Id id);
    static void removeStateId(Id id);
    static void addContextId(Id id);
    static void removeContextId(Id id);
    // Restores both lists to the 25 default kinds.
    static void resetIds();
};

// Texture stages, used by texture blend arguments.
class olMultiTexture
{
public:
    enum Stage : int {
        STAGE_0 = 0,
        STAGE_1 = 1,
        STAGE_2 = 2,
        STAGE_3 = 3,
        STAGE_4 = 4,
        STAGE_5 = 5,
        STAGE_6 = 6,
        STAGE_7 = 7
    };
};

class olAlphaBlend
{
public:
    enum Mode : int {
        MODE_ZERO = 0,
        MODE_ONE = 1,
        MODE_SOURCE_COLOR = 2,
        MODE_ONE_MINUS_SOURCE_COLOR = 3,
        MODE_DESTINATION_COLOR = 4,
        MODE_ONE_MINUS_DESTINATION_COLOR = 5,
        MODE_SOURCE_ALPHA = 6,
        MODE_ONE_MINUS_SOURCE_ALPHA = 7,
        MODE_DESTINATION_ALPHA = 8,
        MODE_ONE_MINUS_DESTINATION_ALPHA = 9,
        MODE_SOURCE_ALPHA_SATURATE = 10
    };
    enum Equation : int {
        EQUATION_ADD = 0,
        EQUATION_SUBTRACT = 1,
        EQUATION_REVERSE_SUBTRACT = 2,
        EQUATION_MIN = 3,
        EQUATION_MAX = 4
    };

    class Element : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        bool isTransparent() const override { return enable; }

        bool enable = false;
        Mode sourceMode = MODE_SOURCE_ALPHA;
        Mode destinationMode = MODE_ONE_MINUS_SOURCE_ALPHA;
        Equation equation = EQUATION_ADD;
    };
};

class olAlphaTest
{
public:
    enum Mode : int {
        MODE_NEVER = 0,
        MODE_LESS = 1,
        MODE_EQUAL = 2,
        MODE_LESS_OR_EQUAL = 3,
        MODE_GREATER = 4,
        MODE_NOT_EQUAL = 5,
        MODE_GREATER_OR_EQUAL = 6,
        MODE_ALWAYS = 7
    };

    class Element : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        bool enable = false;
        float reference = 0.0f;
        Mode mode = MODE_ALWAYS;
    };
};

class olColorTrack
{
public:
    enum Mode : int {
        MODE_AMBIENT = 0,
        MODE_DIFFUSE = 1,
        MODE_SPECULAR = 2,
        MODE_EMISSIVE = 3,
        MODE_AMBIENT_AND_DIFFUSE = 4
    };
    enum Side : int { SIDE_FRONT = 0, SIDE_BACK = 1, SIDE_FRONT_AND_BACK = 2 };

    class Element : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        bool enable = false;
        Mode mode = MODE_AMBIENT_AND_DIFFUSE;
        Side side = SIDE_FRONT_AND_BACK;
    };
};

class olDecal
{
public:
    class Element : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        bool enable = false;
        float factor = 0.0f;
        float units = 0.0f;
    };
};

class olDepthTest
{
public:
    enum Mode : int {
        MODE_NEVER = 0,
        MODE_LESS = 1,
        MODE_EQUAL = 2,
        MODE_LESS_OR_EQUAL = 3,
        MODE_GREATER = 4,
        MODE_NOT_EQUAL = 5,
        MODE_GREATER_OR_EQUAL = 6,
        MODE_ALWAYS = 7
    };

    class Element : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        bool enable = true;
        Mode mode = MODE_LESS_OR_EQUAL;
    };
};

class olDepthWrite
{
public:
    class Element : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        bool enable = true;
    };
};

class olLine
{
public:
    class Element : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        void validate(int level, olMessageList& messages) const override;

        bool enableAntiAlias = false;
        bool enablePattern = false;
        unsigned short pattern = 0xFFFF;
        unsigned int repeat = 1;
        float width = 1.0f;
    };
};

class olMultiSample
{
public:
    class Element : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        bool enable = false;
        bool enableAlphaToCoverage = false;
        bool enableAlphaToOne = false;
        bool enableCoverage = false;
        bool invert = false;
        float coverage = 1.0f;
    };
};

class olNormalize
{
public:
    class Element : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        bool enable = false;
    };
};

class olPoint
{
public:
    class Element : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        void validate(int level, olMessageList& messages) const override;

        bool enableAntiAlias = false;
        float size = 1.0f;
    };
};

class olPolygon
{
public:
    enum CullFace : int { CULL_FACE_FRONT = 0, CULL_FACE_BACK = 1, CULL_FACE_FRONT_AND_BACK = 2 };

    class Element : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        bool enableAntiAlias = false;
        bool enableCullFace = true;
        CullFace cullFace = CULL_FACE_BACK;
    };
};

class olShadeModel
{
public:
    enum Mode : int { MODE_FLAT = 0, MODE_SMOOTH = 1 };

    class Element : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        Mode mode = MODE_SMOOTH;
    };
};

class olStencilTest
{
public:
    enum Mode : int {
        MODE_NEVER = 0,
        MODE_LESS = 1,
        MODE_EQUAL = 2,
        MODE_LESS_OR_EQUAL = 3,
        MODE_GREATER = 4,
        MODE_NOT_EQUAL = 5,
        MODE_GREATER_OR_EQUAL = 6,
        MODE_ALWAYS = 7
    };
    enum Operation : int {
        OPERATION_KEEP = 0,
        OPERATION_ZERO = 1,
        OPERATION_REPLACE = 2,
        OPERATION_INCREMENT = 3,
        OPERATION_DECREMENT = 4,
        OPERATION_INVERT = 5,
        OPERATION_INCREMENT_WRAP = 6,
        OPERATION_DECREMENT_WRAP = 7
    };

    class Element : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        bool enable = false;
        int reference = 0;
        unsigned int mask = 0xFFFFFFFFu;
        Mode mode = MODE_ALWAYS;
        Operation fail = OPERATION_KEEP;
        Operation depthFail = OPERATION_KEEP;
        Operation depthPass = OPERATION_KEEP;
    };
};

class olTransform
{
public:
    class ElementModelView : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        emMatrix<float> matrix = emMatrix<float>::identity();
    };

    class ElementProjection : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        emMatrix<float> matrix = emMatrix<float>::identity();
    };

    // One texture matrix per texture stage.
    class ElementTexture : public olElement
    {
        EM_CLASS_TYPE_DECLARE();

    public:
        ElementTexture();

        emMatrix<float> matrix[OL_NUM_STAGES];
    };
};
