#pragma once

// A search request's count and start of -1 ask for the engines' usual page: ten results from the first.
inline void ApplyDefaultPaging(int& count, int& start) {
    if (count == -1)
        count = 10;
    if (start == -1)
        start = 0;
}
