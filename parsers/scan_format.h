#pragma once

#include <QStringView>
#include <initializer_list>

// Reads numbers out of a text the way scanf does with a simple format, locale-free: "%d" reads an int,
// "%f" a float (a real number only: "inf" and "nan" are no figure a service gives, so they stop the reading
// like a mismatch), "%%" a literal "%", white space in the format skips any white space (none included) in
// the text, and every other format character must match the text exactly. Reading stops at the first
// mismatch; outputs not reached keep their values.
class ScanOutput {
  public:
    ScanOutput(int& value) : m_int(&value) {}
    ScanOutput(float& value) : m_float(&value) {}

    int* m_int = nullptr;
    float* m_float = nullptr;
};

// Returns the number of values stored. A conversion whose output is of the other type, or that has no
// output left, stops the reading.
int ScanFormat(QStringView text, QStringView format, std::initializer_list<ScanOutput> outputs);
