// euc_jp.h: conversion between UTF-8 and the router's EUC-JP (the Windows-compatible variant).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quirn::sim {

// nullopt when the text holds a character the other encoding cannot express; with `lenient`
// such characters become "?" instead.
std::optional<std::string> Utf8ToEucJp(std::string_view utf8, bool lenient = false);
std::optional<std::string> EucJpToUtf8(std::string_view euc);

}  // namespace quirn::sim
