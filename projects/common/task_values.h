#pragma once

// What a record's number holds in place of a real value, the same in every kind and for int, float and
// double fields alike: a report shows kNotAsked as an empty cell and kNoData as "No Data", and sorts both
// after every real value. A task whose exchange failed also keeps kNoData; its record's failed mark
// (CFailedTasks) says why.
namespace task_value {

// Not asked yet: the run still has the task to do.
inline constexpr int kNotAsked = -1;
// Asked, and the service's page gave no value.
inline constexpr int kNoData = -2;
// A task, record or row index that stands for none (nothing to ask, nothing selected).
inline constexpr int kNone = -1;

} // namespace task_value
