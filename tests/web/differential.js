// The engine in WebAssembly (the single file the page carries, run by Node)
// against the same sources built natively: the same verdict for every
// generated (expected, typed) pair, the same decoded quiz for every example.
//   node differential.js kelvo-engine.js EXAMPLES_DIR WORK_DIR [EMULATOR] ENGINE_REFERENCE
// (EMULATOR: the i686 reference runs under qemu-i386)
"use strict";
const { execFileSync } = require("child_process");
const fs = require("fs");
const path = require("path");

const [enginePath, examples, work, program, ...programArguments] = process.argv.slice(2);
const reference = (args, options) => execFileSync(program, [...programArguments, ...args], options);
const PAIRS = 12000;

// Deterministic pairs: the near misses each verdict rule looks for, on
// letters the players type (accents, capitals, blanks, ligatures, the euro).
let seed = 20261207;
const random = (n) => {
  seed = (seed * 1103515245 + 12345) % 2147483648;
  return Math.floor((seed / 2147483648) * n);
};
const LETTERS = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZéèêàçùÉÈœ€'- 0123456789";
const word = (length) => Array.from({ length }, () => LETTERS[random(LETTERS.length)]).join("");
function mutate(expected) {
  const chars = [...expected];
  const at = random(chars.length + 1);
  switch (random(12)) {
    case 0: return expected;
    case 1: return expected.toUpperCase();
    case 2: return "  " + expected.toLowerCase() + " ";
    case 3: chars.splice(at, 1); return chars.join("");
    case 4: chars.splice(at, 0, LETTERS[random(LETTERS.length)]); return chars.join("");
    case 5: chars[at] = LETTERS[random(LETTERS.length)]; return chars.join("");
    case 6: return chars.reverse().join("");
    case 7: return chars.slice(0, Math.max(0, chars.length - random(chars.length + 1))).join("");
    case 8: return word(random(4)) + expected + word(random(4));
    case 9: if (at > 0 && at < chars.length) [chars[at - 1], chars[at]] = [chars[at], chars[at - 1]]; return chars.join("");
    case 10: return word(random(30));
    default: return mutate(mutate(expected));
  }
}
const pairs = [];
for (let i = 0; i < PAIRS; ++i) {
  // Mostly answer-sized texts; some past the 259 bytes a box holds.
  const length = random(10) === 0 ? 200 + random(120) : 1 + random(24);
  const expected = word(length).trim() || "a";
  pairs.push([expected, mutate(expected)]);
}

fs.mkdirSync(work, { recursive: true });
const pairsFile = path.join(work, "pairs.txt");
fs.writeFileSync(pairsFile, pairs.map((pair) => pair.join("\t")).join("\n") + "\n");
const native = reference(["verdicts"], { input: fs.readFileSync(pairsFile), maxBuffer: 1 << 26 })
  .toString("utf8").split("\n");

let failures = 0;
function differ(what, wasm, nativeText) {
  if (wasm === nativeText) return;
  if (++failures <= 10) console.log(`DIFFERENT ${what}\n  wasm:   ${JSON.stringify(wasm)}\n  native: ${JSON.stringify(nativeText)}`);
}

require(path.resolve(enginePath))().then((engine) => {
  const withText = (text, call) => {
    const bytes = new TextEncoder().encode(text + "\0");
    const pointer = engine._malloc(bytes.length);
    engine.HEAPU8.set(bytes, pointer);
    try { return call(pointer); } finally { engine._free(pointer); }
  };
  const verdicts = new Map();
  pairs.forEach(([expected, typed], i) => {
    const verdict = withText(expected, (e) => withText(typed, (t) => engine.UTF8ToString(engine._kelvoVerdict(e, t))));
    verdicts.set(verdict, (verdicts.get(verdict) || 0) + 1);
    differ(`verdict of ${JSON.stringify(typed)} for ${JSON.stringify(expected)}`, verdict, native[i]);
  });
  console.log(`${pairs.length} pairs; verdicts: ${[...verdicts].map(([v, n]) => `${v} ${n}`).join(", ")}`);
  // Every verdict word must have been reached, or the pairs test too little.
  if (verdicts.size < 10) { console.log("FAILED: some verdicts were never produced"); failures++; }

  const quizzes = fs.readdirSync(examples).filter((name) => fs.existsSync(path.join(examples, name, name + ".toml")));
  for (const name of quizzes) {
    const folder = path.join(work, name);
    const nativeDump = reference(["quiz", path.join(examples, name, name + ".toml"), folder]).toString("utf8");
    const bytes = (file) => fs.readFileSync(path.join(folder, file));
    const quiz = bytes("quiz.bin"), codes = bytes("codes.bin");
    const q = engine._malloc(quiz.length), c = engine._malloc(codes.length);
    engine.HEAPU8.set(quiz, q);
    engine.HEAPU8.set(codes, c);
    const opened = withText("quiz.html", (n) => withText(bytes("identity.txt").toString(), (id) =>
      engine._kelvoOpen(q, quiz.length, c, codes.length, n, id)));
    const dump = engine.UTF8ToString(engine._kelvoQuizDump()) + engine.UTF8ToString(engine._kelvoPageModel()) + "\n";
    differ(`decoded quiz ${name} (opened: ${opened})`, dump, nativeDump);
    console.log(`${name}: ${nativeDump.split("\n").length} lines of decoded quiz and page model`);
  }
  if (quizzes.length < 5) { console.log("FAILED: fewer than 5 examples"); failures++; }
  console.log(failures === 0 ? "PASSED" : `FAILED: ${failures} difference(s)`);
  process.exit(failures === 0 ? 0 : 1);
});
