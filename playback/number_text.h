// Reading a whole number from the front of a text the way the program reads settings values,
// table fields and device replies: spaces, an optional sign, then digits up to the first
// character that is not one. Any thread.
#pragma once

#include <climits>
#include <cstdint>
#include <string_view>

struct LeadingNumber {
    int value = 0;  // 0 when there are no digits; held to the range of int
    bool hasDigits = false;
};

inline LeadingNumber ParseLeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    LeadingNumber result;
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        result.hasDigits = true;
        // Stop growing past the int range; the value is clamped below.
        if (magnitude <= std::int64_t(INT_MAX) + 1) magnitude = magnitude * 10 + (text[i] - '0');
    }
    if (negative) magnitude = -magnitude;
    if (magnitude > INT_MAX) magnitude = INT_MAX;
    if (magnitude < INT_MIN) magnitude = INT_MIN;
    result.value = int(magnitude);
    return result;
}
