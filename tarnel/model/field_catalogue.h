#pragma once

// The named fields of a game: every field of the game data, the prestige and
// a unit's records that the editors show, with a JSON name and its place per
// generation. Export, import and the comparison of two games work on this
// table; the editors keep their own code.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/game_model.h"

namespace tarnel {

enum class FieldSection : std::uint8_t { Unit, Leader, Position, GameData, Prestige };

enum class FieldKind : std::uint8_t {
  Byte,        // unsigned 0..255
  Word,        // unsigned 16 bit, little-endian
  SignedWord,  // signed 16 bit, little-endian
  Flag,        // one byte, stored as 0 or 1
  UnitName,    // text up to its first zero byte, at most 15 characters stored
  LeaderName,  // two names shown as First/Second
  Description, // text up to its first zero byte, 31 bytes stored
  ArmourNormal // one shown byte; a store writes the group's three normal bytes
};

// Where a field sits in the JSON document: directly in the unit (or game)
// object, or in one of its nested objects and arrays.
enum class FieldGroup : std::uint8_t { None, Weapons, Armour, Leader, Position, Countries, VictoryHexes };

struct NamedField {
  std::string_view key;   // JSON key; empty for an element of a number array
  FieldGroup group;
  int item;               // array index within the group, -1 when not in an array
  FieldSection section;
  int offsetVn2;          // in its record or section, both VN2 versions; -1 when absent
  int offsetVn3;          // -1 when VN3 has no such field
  int width;              // bytes
  FieldKind kind;
  int mirror = 0;         // a store also writes the same bytes this far on (second side groups)

  bool isText() const { return kind == FieldKind::UnitName || kind == FieldKind::LeaderName || kind == FieldKind::Description; }
  // The JSON path below the unit or game object: "exp", "weapons[2].he",
  // "leader.rally", "countries[1]", "victoryHexes[4].x".
  std::string path() const;
  // Smallest and largest number a store accepts.
  int minimum() const;
  int maximum() const;
};

// Per-unit fields (records of sections 1, 34 and 17) and whole-game fields
// (sections 37 and 26), in document order.
std::span<const NamedField> unitFields();
std::span<const NamedField> gameFields();

// A field's value in a loaded image. Numbers as stored; texts as the editors
// show them (Windows-1252 bytes). nullopt when the file has no such field (a
// VN3-only byte in a VN2 file, prestige of a version 1.0 file) or its bytes
// lie outside the section holding them.
struct FieldValue {
  int number = 0;
  std::string text;
  bool operator==(const FieldValue&) const = default;
};
std::optional<std::int64_t> fieldOffset(const GameModel& model, const NamedField& field, int unit);
std::optional<FieldValue> readField(const GameModel& model, const NamedField& field, int unit);

// Stores a value as the field's editor stores it: numbers in their width,
// unit names cut to 15 characters and zero-filled, leader names by the leader
// rule ("/" becomes the separating zero byte), the description in 31 bytes.
// The value must be one the field accepts (see checkFieldValue).
void writeField(GameModel& model, const NamedField& field, int unit, const FieldValue& value);

// Why a value cannot be stored, empty when it can: a number outside the
// field's range or a text the field cannot hold (Windows-1252 bytes).
std::string checkFieldValue(const NamedField& field, const FieldValue& value);

// The leader name as the unit grid shows it: first part, "/", second part;
// bytes outside 32..123 end a part.
std::string leaderNameText(const GameModel& model, std::int64_t offset);

}  // namespace tarnel
