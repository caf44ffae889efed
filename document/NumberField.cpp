// Whole numbers typed into dialog fields (see NumberField.h).
#include "document/NumberField.h"

#include <charconv>

bool ReadNumberField(const NumberField& field, const std::string& text, long long* value,
                     std::string* message)
{
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    long long read = 0;
    bool ok = first != std::string::npos;
    if (ok)
    {
        // from_chars takes a minus but no plus: a plus is passed over here,
        // and must be followed by a digit.
        const bool plus = text[first] == '+';
        const char* begin = text.data() + first + (plus ? 1 : 0);
        const char* end = text.data() + last + 1;
        const auto result = std::from_chars(begin, end, read);
        ok = begin < end && (!plus || (*begin >= '0' && *begin <= '9')) &&
             result.ec == std::errc() && result.ptr == end && read >= field.low &&
             read <= field.high;
    }
    if (ok)
    {
        *value = read;
        return true;
    }
    if (message)
        *message =
            "The " + std::string(field.name) + " must be a whole number from " +
            std::to_string(field.low) + " to " + std::to_string(field.high) + " (" +
            (text.empty() ? std::string("nothing was typed") : "\"" + text + "\" was typed") + ").";
    return false;
}
