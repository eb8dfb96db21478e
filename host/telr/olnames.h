// Names of the render library's enumeration values. Each function returns the value's enumerator
// name (for instance "EQUATION_ADD") and "UNKNOWN" for a value it does not know.
#pragma once

const char* olAlphaBlendEquationString(int value);
const char* olAlphaBlendModeString(int value);
const char* olAlphaTestModeString(int value);
const char* olColorTrackModeString(int value);
const char* olColorTrackSideString(int value);
const char* olDepthTestModeString(int value);
const char* olFogTypeString(int value);
const char* olMultiTextureStageString(int value);
const char* olPolygonCullFaceString(int value);
const char* olShadeModelModeString(int value);
const char* olStencilTestModeString(int value);
const char* olStencilTestOperationString(int value);
const char* olTextureBlendArgumentString(int value);
const char* olTextureBlendModeString(int value);
const char* olTextureCoordGenModeString(int value);
