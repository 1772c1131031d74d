#pragma once

// Every registry key the program reads or writes, spelled once.
namespace RegistryKeys {
// The current user's product key: options, language.
constexpr char Product[] = "Software\\Quorvel II\\";
constexpr char Displays[] = "Software\\Quorvel II\\Displays";
constexpr char Events[] = "Software\\Quorvel II\\Events";
constexpr char CustomColors[] = "Software\\Quorvel II\\CustomColors";
// One subkey per category, one key per preset below it.
constexpr char Presets[] = "Software\\Quorvel II\\Presets\\";
// The first-generation settings, imported once.
constexpr char PreviousVersion[] = "Software\\Varn Software\\Quorvel\\";
constexpr char Run[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// The machine's installation record, read-only.
constexpr char Uninstall[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvel";
// The machine's time-zone catalogue.
constexpr char TimeZones[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";
}  // namespace RegistryKeys
