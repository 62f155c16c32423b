// PELMORA_ADDRESS_SANITIZED is 1 in an address-sanitized build, else 0.
// GCC names such a build __SANITIZE_ADDRESS__, clang asks __has_feature; it
// reserves terabytes of address space, so tests that run under a limit of
// address space are skipped there.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define PELMORA_ADDRESS_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PELMORA_ADDRESS_SANITIZED 1
#endif
#endif
#ifndef PELMORA_ADDRESS_SANITIZED
#define PELMORA_ADDRESS_SANITIZED 0
#endif
