#include "settings/win/RegistryKey.h"

#include "settings/win/ScratchKey.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

void setRaw(const RegistryKey& key, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegOpenKeyExA(key.root(), key.path().c_str(), 0, KEY_SET_VALUE, &handle), ERROR_SUCCESS);
    RegSetValueExW(handle, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(handle);
}

} // namespace

TEST(RegistryKey, OpensUnderTheMachineRootFirstAndFallsBackToTheUserRoot) {
    qvtest::ScratchKey scratch;
    EXPECT_EQ(RegistryKey(scratch.path()).root(), HKEY_LOCAL_MACHINE);
    RegistryKey user(scratch.path(), {nullptr, HKEY_CURRENT_USER});
    EXPECT_EQ(user.root(), HKEY_CURRENT_USER);
    user.writeNumber("Screen X", 7);
    EXPECT_EQ(RegistryKey(scratch.path(), {HKEY_CURRENT_USER}).readNumber("Screen X", 0), 7);

    RegistryKey none(scratch.path(), {});
    EXPECT_FALSE(none.isOpen());
    EXPECT_EQ(none.readNumber("Screen X", 600), 600);
    char buffer[16] = "stale";
    none.readString(".flac", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "");
}

TEST(RegistryKey, NumbersAreTheFirstFourBytesOfAnyValueAndStringsHoldAtMost255Characters) {
    qvtest::ScratchKey scratch;
    RegistryKey key(scratch.path());
    key.writeNumber("Negative", -5);
    const BYTE bytes[6] = {0x78, 0x56, 0x34, 0x12, 0xff, 0xff};
    setRaw(key, L"Short", REG_BINARY, bytes, 2);
    setRaw(key, L"Long", REG_BINARY, bytes, sizeof bytes);
    key.writeString("Text", "12");
    key.writeString("TooLong", std::string(256, 'b').c_str()); // too long to convert: not written
    const std::pair<const char*, int32_t> numbers[] = {{"Negative", -5}, {"Short", 99},        {"Missing", 99},
                                                       {"TooLong", 99},  {"Long", 0x12345678}, {"Text", 0x00320031}};
    for (const auto& [name, value] : numbers)
        EXPECT_EQ(key.readNumber(name, 99), value) << name;

    key.writeString(".ape", "mac.exe {F} {T} -d");
    key.writeString("Longest", std::string(255, 'a').c_str());
    const wchar_t unterminated[3] = {L'a', L'b', L'c'};
    setRaw(key, L"Unterminated", REG_SZ, unterminated, sizeof unterminated);
    EXPECT_EQ(key.readString(".ape"), "mac.exe {F} {T} -d");
    EXPECT_EQ(key.readString("Longest"), std::string(255, 'a'));
    EXPECT_EQ(key.readString("Unterminated"), "abc");
    char buffer[8] = "zzzzzzz";
    key.readString(".ape", buffer, 4);
    EXPECT_STREQ(buffer, "mac");
    EXPECT_EQ(buffer[4], 'z');
}
