// Names of the render library's enumeration values.
#include "olnames.h"

namespace {

const char* const unknown = "UNKNOWN";

const char* pick(const char* const* names, int count, int value)
{
    return value >= 0 && value < count ? names[value] : unknown;
}

template <int N>
const char* pick(const char* const (&names)[N], int value)
{
    return pick(names, N, value);
}

const char* const compareModes[] = {"MODE_NEVER",
                                    "MODE_LESS",
                                    "MODE_EQUAL",
                                    "MODE_LESS_OR_EQUAL",
                                    "MODE_GREATER",
                                    "MODE_NOT_EQUAL",
                                    "MODE_GREATER_OR_EQUAL",
                                    "MODE_ALWAYS"};

}  // namespace

const char* olAlphaBlendEquationString(int value)
{
    static const char* const names[] = {"EQUATION_ADD", "EQUATION_SUBTRACT", "EQUATION_REVERSE_SUBTRACT",
                                        "EQUATION_MIN", "EQUATION_MAX"};
    return pick(names, value);
}

const char* olAlphaBlendModeString(int value)
{
    static const char* const names[] = {"MODE_ZERO",
                                        "MODE_ONE",
                                        "MODE_SOURCE_COLOR",
                                        "MODE_ONE_MINUS_SOURCE_COLOR",
                                        "MODE_DESTINATION_COLOR",
                                        "MODE_ONE_MINUS_DESTINATION_COLOR",
                                        "MODE_SOURCE_ALPHA",
                                        "MODE_ONE_MINUS_SOURCE_ALPHA",
                                        "MODE_DESTINATION_ALPHA",
                                        "MODE_ONE_MINUS_DESTINATION_ALPHA",
                                        "MODE_SOURCE_ALPHA_SATURATE"};
    return pick(names, value);
}

const char* olAlphaTestModeString(int value) { return pick(compareModes, value); }

const char* olColorTrackModeString(int value)
{
    static const char* const names[] = {"MODE_AMBIENT", "MODE_DIFFUSE", "MODE_SPECULAR", "MODE_EMISSIVE",
                                        "MODE_AMBIENT_AND_DIFFUSE"};
    return pick(names, value);
}

const char* olColorTrackSideString(int value)
{
    static const char* const names[] = {"SIDE_FRONT", "SIDE_BACK", "SIDE_FRONT_AND_BACK"};
    return pick(names, value);
}

const char* olDepthTestModeString(int value) { return pick(compareModes, value); }

const char* olFogTypeString(int value)
{
    static const char* const names[] = {"TYPE_LINEAR", "TYPE_EXPONENTIAL", "TYPE_EXPONENTIAL_SQUARED"};
    return pick(names, value);
}

const char* olMultiTextureStageString(int value)
{
    static const char* const names[] = {"STAGE_0", "STAGE_1", "STAGE_2", "STAGE_3",
                                        "STAGE_4", "STAGE_5", "STAGE_6", "STAGE_7"};
    return pick(names, value);
}

const char* olPolygonCullFaceString(int value)
{
    static const char* const names[] = {"CULL_FACE_FRONT", "CULL_FACE_BACK", "CULL_FACE_FRONT_AND_BACK"};
    return pick(names, value);
}

const char* olShadeModelModeString(int value)
{
    static const char* const names[] = {"MODE_FLAT", "MODE_SMOOTH"};
    return pick(names, value);
}

const char* olStencilTestModeString(int value) { return pick(compareModes, value); }

const char* olStencilTestOperationString(int value)
{
    static const char* const names[] = {"OPERATION_KEEP",           "OPERATION_ZERO",          "OPERATION_REPLACE",
                                        "OPERATION_INCREMENT",      "OPERATION_DECREMENT",     "OPERATION_INVERT",
                                        "OPERATION_INCREMENT_WRAP", "OPERATION_DECREMENT_WRAP"};
    return pick(names, value);
}

const char* olTextureBlendArgumentString(int value)
{
    static const char* const names[] = {"ARGUMENT_TEXTURE",
                                        "ARGUMENT_CONSTANT",
                                        "ARGUMENT_PRIMARY_COLOR",
                                        "ARGUMENT_PREVIOUS",
                                        "ARGUMENT_TEXTURE_STAGE",
                                        "ARGUMENT_ONE_MINUS_TEXTURE",
                                        "ARGUMENT_ONE_MINUS_CONSTANT",
                                        "ARGUMENT_ONE_MINUS_PRIMARY_COLOR",
                                        "ARGUMENT_ONE_MINUS_PREVIOUS"};
    return pick(names, value);
}

const char* olTextureBlendModeString(int value)
{
    static const char* const names[] = {"MODE_MODULATE", "MODE_REPLACE",    "MODE_DECAL",       "MODE_BLEND",
                                        "MODE_ADD",      "MODE_ADD_SIGNED", "MODE_INTERPOLATE", "MODE_SUBTRACT",
                                        "MODE_DOT3_RGB", "MODE_DOT3_RGBA"};
    return pick(names, value);
}

const char* olTextureCoordGenModeString(int value)
{
    static const char* const names[] = {"MODE_OBJECT_LINEAR", "MODE_EYE_LINEAR", "MODE_SPHERE_MAP", "MODE_NORMAL_MAP",
                                        "MODE_REFLECTION_MAP"};
    return pick(names, value);
}
