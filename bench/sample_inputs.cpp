#include "sample_inputs.h"

#include <cctype>
#include <iterator>
#include <random>

namespace kelvo::bench {
namespace {

const char* const words[] = {
    "le", "la", "les", "de", "des", "du", "un", "une", "et", "en", "dans", "sur", "pour", "avec", "par", "qui",
    "que", "est", "sont", "a", "ont", "fut", "il", "elle", "nous", "ils", "ce", "cette", "plus", "tout",
    "ville", "capitale", "fleuve", "roi", "reine", "r\xE9ponse", "ann\xE9" "e", "si\xE8" "cle", "pays",
    "montagne", "\xE9" "crivain", "peintre", "ch\xE2" "teau", "for\xEA" "t", "mer", "o\xF9", "histoire",
    "c\xE9l\xE8" "bre", "premi\xE8re", "guerre", "r\xE9volution", "chanson", "musique", "tableau", "roman",
    "fran\xE7" "ais", "\xE9t\xE9", "hiver", "\xE9glise", "pont", "rivi\xE8re", "ann\xE9" "es", "grand",
    "petite", "nouvelle", "ancien", "Paris", "Lyon", "Marseille", "Bordeaux", "Loire", "Seine", "Alpes"};

std::string sentence(std::mt19937& random) {
    std::uniform_int_distribution<std::size_t> word(0, std::size(words) - 1);
    std::uniform_int_distribution<int> length(4, 14);
    std::string text;
    for (int count = length(random); count > 0; --count) {
        if (!text.empty()) text += ' ';
        text += words[word(random)];
    }
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    static const char* const ends[] = {".", ".", " ?", " !", ","};
    return text + ends[std::uniform_int_distribution<std::size_t>(0, std::size(ends) - 1)(random)];
}

std::string upper(std::string text) {
    for (char& byte : text)
        if (byte >= 'a' && byte <= 'z') byte = static_cast<char>(byte - 'a' + 'A');
    return text;
}

}  // namespace

std::string frenchText(std::size_t size) {
    std::mt19937 random(1789);
    std::string text;
    while (text.size() < size) {
        text += sentence(random);
        text += std::uniform_int_distribution<int>(0, 5)(random) == 0 ? "\r\n" : " ";
    }
    text.resize(size);
    return text;
}

std::string quizResource(std::size_t size) {
    std::mt19937 random(1515);
    std::uniform_int_distribution<std::size_t> word(0, std::size(words) - 1);
    std::string quiz("\x00\x01\x60\x02", 4);
    quiz += "Histoire de France|Kelvo|" + sentence(random) + "|R\xE9ponse|Date|";
    for (int question = 1; quiz.size() < size; ++question) {
        quiz += upper(words[word(random)]) + "|" + std::to_string(1500 + question * 7 % 500) + "|";
        quiz += "Question " + std::to_string(question) + " : " + sentence(random) + " " + sentence(random) + "|";
        quiz += sentence(random) + "|";
    }
    quiz.resize(size);
    return quiz;
}

std::string randomBytes(std::size_t size) {
    std::mt19937 random(42);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(size, '\0');
    for (char& value : bytes) value = static_cast<char>(byte(random));
    return bytes;
}

}  // namespace kelvo::bench
