#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// Reads the date of a cookie's Expires attribute as UTC seconds since 1970: the RFC 1123 form, the older
// form with hyphens and two-digit years, and the asctime form, by the tolerant cookie-date rules (tokens in
// any order, the zone name ignored). Nothing for a text that holds no complete, valid date.
std::optional<std::int64_t> ParseCookieDate(const QString& text);
