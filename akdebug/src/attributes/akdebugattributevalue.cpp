#include "akdebugattributevalue.h"

#include <charconv>
#include <cstring>

int akDebugPrintNumbers(char* buffer, const char* format, const double* values, int count)
{
    // std::to_chars with six significant digits in the general form writes what "%g" writes.
    char* at = buffer;
    char* const end = buffer + akDebugAttributeBase::s_stringBufferSize - 1;
    int next = 0;
    for (const char* f = format; *f && at < end; ++f) {
        if (f[0] == '%' && f[1] == 'g') {
            const double value = next < count ? values[next++] : 0.0;
            const std::to_chars_result written = std::to_chars(at, end, value, std::chars_format::general, 6);
            at = written.ec == std::errc() ? written.ptr : end;
            ++f;
        } else {
            *at++ = *f;
        }
    }
    *at = '\0';
    return static_cast<int>(at - buffer);
}

int akDebugPrintHex(char* buffer, unsigned int value)
{
    buffer[0] = '0';
    buffer[1] = 'x';
    char* at = std::to_chars(buffer + 2, buffer + 16, value, 16).ptr;
    for (char* digit = buffer + 2; digit < at; ++digit)
        if (*digit >= 'a')
            *digit = static_cast<char>(*digit - 'a' + 'A');
    *at = '\0';
    return static_cast<int>(at - buffer);
}

int akDebugPrintInteger(char* buffer, int value)
{
    char* at = std::to_chars(buffer, buffer + 16, value).ptr;
    *at = '\0';
    return static_cast<int>(at - buffer);
}

const char* const akDebugCompoundNames::rows[4] = {"Row 0", "Row 1", "Row 2", "Row 3"};
const char* const akDebugCompoundNames::columns[4] = {"Column 0", "Column 1", "Column 2", "Column 3"};
const char* const akDebugCompoundNames::frustumPlanes[6] = {"Plane, Left", "Plane, Right", "Plane, Bottom",
                                                            "Plane, Top",  "Plane, Near",  "Plane, Far"};

akDebugArrayBase::~akDebugArrayBase() = default;

int akDebugArrayBase::getValueString(char* buffer) const { return akDebugPrintHex(buffer, m_address); }
