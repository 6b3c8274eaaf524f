// printf_format.h: lets the compiler check printf-style calls where it knows how.
#pragma once

#if defined(__GNUC__) || defined(__clang__)
#define QUIRN_PRINTF_FORMAT(format_index, first_argument) \
    __attribute__((format(printf, format_index, first_argument)))
#else
#define QUIRN_PRINTF_FORMAT(format_index, first_argument)
#endif
