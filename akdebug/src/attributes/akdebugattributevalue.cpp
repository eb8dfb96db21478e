#include "akdebugattributevalue.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// "%g" of a value: a whole number of at most six digits as its digits (most values of a tree are),
// others through std::to_chars with six significant digits in the general form, which writes
// what "%g" writes.
char* printNumber(char* at, char* end, double value)
{
    if (value >= -999999 && value <= 999999 && value == static_cast<double>(static_cast<int>(value)) &&
        !(value == 0 && std::signbit(value)))
        return std::to_chars(at, end, static_cast<int>(value)).ptr;
    const std::to_chars_result written = std::to_chars(at, end, value, std::chars_format::general, 6);
    return written.ec == std::errc() ? written.ptr : end;
}

}  // namespace

int akDebugPrintNumbers(char* buffer, const char* format, const double* values, int count)
{
    char* at = buffer;
    char* const end = buffer + akDebugAttributeBase::s_stringBufferSize - 1;
    int next = 0;
    for (const char* f = format; *f && at < end; ++f) {
        if (f[0] == '%' && f[1] == 'g') {
            at = printNumber(at, end, next < count ? values[next++] : 0.0);
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
