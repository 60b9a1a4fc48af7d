// Loading a db.dat or phrases.dat host file into the engine's structures, refusing files the
// program would silently take as empty (a malformed dictionary) or as garbage (binary bytes
// in a next-word file), because a developer tool should say so.
#pragma once

#include "prediction/next_word_list.h"
#include "prediction/word_dictionary.h"

#include <string>

// Throws InputError when the file is missing or is not a well-formed dictionary file.
void LoadDictionaryInput(const std::string& path, WordDictionary& dictionary);

// Throws InputError when the file is missing or is neither UTF-16LE (with byte-order mark)
// nor UTF-8 text.
void LoadNextWordInput(const std::string& path, NextWordList& list);
