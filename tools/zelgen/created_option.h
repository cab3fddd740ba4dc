#ifndef ZELGEN_CREATED_OPTION_H
#define ZELGEN_CREATED_OPTION_H

// The time stamp zelgen gives its look files: --created "YYYY-MM-DD HH:MM:SS" when given,
// else the UTC time that SOURCE_DATE_EPOCH names (the reproducible-builds convention),
// else the local time of each job, as the library does by default.

#include <string>

namespace zelgen {

struct CreatedTime {
    std::string text;     // "YYYY-MM-DD HH:MM:SS", or "" for the local time of each job
    std::string problem;  // why the option or the variable cannot be used; "" when it can
};

// `option` is --created ("" when not given); `sourceDateEpoch` the variable's value, null
// when it is not set. An empty variable counts as not set.
CreatedTime resolveCreatedTime(const std::string& option, const char* sourceDateEpoch);

}  // namespace zelgen

#endif  // ZELGEN_CREATED_OPTION_H
