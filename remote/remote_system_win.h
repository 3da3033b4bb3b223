#pragma once
// What remote control asks of Windows: keys from its random source, and the
// addresses this PC answers at.
#include <string>
#include <vector>

namespace tallyglass {

// 128 bits from the system's cryptographic random source, as key text; empty on failure.
std::string MakeRemoteKey();
// The addresses this PC can be reached at on the network (IPv4, not loopback).
std::vector<std::string> LocalAddresses();

}  // namespace tallyglass
