// The program's version numbers.  The version resource takes them from
// here, and so does anything else that states the version (an installer),
// so a release changes this file and nothing else.
#pragma once

#define QUORBEL_FILE_VERSION    2, 0, 0, 0
#define QUORBEL_PRODUCT_VERSION 1, 0, 0, 0

// "2, 0, 0, 0": the text form the version resource's string table carries.
#define QUORBEL_VERSION_TEXT_(...) #__VA_ARGS__
#define QUORBEL_VERSION_TEXT(...) QUORBEL_VERSION_TEXT_(__VA_ARGS__)
