// The page's only script: it draws the quiz once from the engine's data and
// forwards the player's actions to the engine. Every rule (verdicts, score,
// codes, reveals, the saved-answers format, the quiz's identity) runs in the
// engine, the player's own C++ compiled to WebAssembly.
"use strict";

(async function () {
  const $ = (id) => document.getElementById(id);
  const notice = $("quiz-notice");
  let data = null;
  try {
    data = JSON.parse($("kelvo-data").textContent);
  } catch (error) {
    data = null;  // damaged: the engine's identity check says so
  }
  const media = (data && data.media) || {};
  const engine = await createKelvoEngine({ pictureUrl: (id) => (media[id] && media[id].url) || null });

  // Bytes into the engine's memory for one call, freed afterwards.
  function withBytes(bytes, call) {
    const pointer = engine._malloc(Math.max(bytes.length, 1));
    engine.HEAPU8.set(bytes, pointer);
    try {
      return call(pointer, bytes.length);
    } finally {
      engine._free(pointer);
    }
  }
  function withText(text, call) {
    return withBytes(new TextEncoder().encode(text + "\0"), (pointer) => call(pointer));
  }
  const text = (pointer) => engine.UTF8ToString(pointer);
  function base64Bytes(base64) {
    try {
      const binary = atob(base64 || "");
      return Uint8Array.from(binary, (c) => c.charCodeAt(0));
    } catch (error) {
      return new Uint8Array(0);
    }
  }
  function savedBytes() {
    const pointer = engine._kelvoSavedAnswers();
    return engine.HEAPU8.slice(pointer, pointer + engine._kelvoTextLength());
  }

  const quizBytes = base64Bytes(data && data.quiz);
  const codeBytes = base64Bytes(data && data.codes);
  const opened = withBytes(quizBytes, (quiz, quizLength) =>
    withBytes(codeBytes, (codes, codesLength) =>
      withText(String((data && data.name) || ""), (name) =>
        withText(String((data && data.identity) || ""), (identity) =>
          engine._kelvoOpen(quiz, quizLength, codes, codesLength, name, identity)))));
  if (!opened) {
    $("quiz-status").textContent = text(engine._kelvoMessage());
    document.documentElement.dataset.failed = "1";
    return;
  }

  const model = JSON.parse(text(engine._kelvoPageModel()));
  draw(model);
  const platform = connectPlatform();

  // Answers kept in the browser, as one saved-answers file per quiz (and per
  // learner, inside a learning platform), its bytes as characters.
  const storageKey = "kelvo-" + text(engine._kelvoIdentity()) + (platform && platform.learner ? "-" + platform.learner : "");
  let storageWarned = false;
  function warnNoStorage() {
    if (storageWarned) return;
    storageWarned = true;
    notice.textContent = "Ce navigateur ne garde pas les réponses (navigation privée ou espace plein) : " +
      "elles seront perdues en fermant la page. « Télécharger mes réponses » les garde dans un fichier.";
  }
  function loadStored() {
    try {
      const stored = window.localStorage.getItem(storageKey) || "";
      return Uint8Array.from(stored, (c) => c.charCodeAt(0) & 0xff);
    } catch (error) {
      warnNoStorage();
      return new Uint8Array(0);
    }
  }
  function store() {
    try {
      let characters = "";
      for (const byte of savedBytes()) characters += String.fromCharCode(byte);
      window.localStorage.setItem(storageKey, characters);
    } catch (error) {
      warnNoStorage();
    }
    if (platform) platform.report();
  }
  function start(bytes) {
    withBytes(bytes, (pointer, length) => engine._kelvoStart(pointer, length));
  }

  start((platform && platform.answers()) || loadStored());
  if (platform) platform.report();
  // Verdicts are announced from now on, not the whole list read back at start.
  for (const output of document.querySelectorAll("output")) output.setAttribute("aria-live", "polite");
  $("quiz-actions").hidden = false;
  document.documentElement.dataset.ready = "1";
  performance.mark("kelvo-ready");

  const list = $("quiz-list");
  const isBox = (element) => element && element.tagName === "INPUT" && element.closest("#quiz-list");
  let lastBox = null;
  function evaluate(box) {
    engine._kelvoEvaluate(Number(box.id));
    store();
  }
  function fill(box) {
    if (!box) return;
    engine._kelvoFillOpenAnswers(Number(box.id));
    store();
  }
  // As in the player: the box's text is selected when it takes the focus,
  // checked when it loses it and when Enter is released; F1 and F2 act on release.
  list.addEventListener("focusin", (event) => {
    if (!isBox(event.target)) return;
    lastBox = event.target;
    event.target.select();
  });
  list.addEventListener("focusout", (event) => {
    if (isBox(event.target)) evaluate(event.target);
  });
  list.addEventListener("keydown", (event) => {
    if (isBox(event.target) && ["Enter", "F1", "F2"].includes(event.key)) event.preventDefault();
  });
  list.addEventListener("keyup", (event) => {
    if (!isBox(event.target)) return;
    if (event.key === "Enter") evaluate(event.target);
    else if (event.key === "F1") fill(event.target);
    else if (event.key === "F2") saved();
  });
  function saved() {
    store();
    if (!storageWarned && !(platform && platform.tooLong)) {
      notice.textContent = platform ? "Réponses sauvées sur la plateforme et dans ce navigateur." : "Réponses sauvées dans ce navigateur.";
    }
  }
  $("save").addEventListener("click", saved);
  $("fill").addEventListener("click", () => {
    fill(lastBox);
    if (lastBox) lastBox.focus();  // as F1 in the player, the focus ends in the box
  });
  $("download").addEventListener("click", () => {
    const link = document.createElement("a");
    link.href = URL.createObjectURL(new Blob([savedBytes()], { type: "text/plain" }));
    link.download = String(data.name).replace(/\.[^.]*$/, "") + ".txt";
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 0);
  });
  $("open").addEventListener("click", () => $("open-file").click());
  $("open-file").addEventListener("change", async (event) => {
    const file = event.target.files[0];
    if (!file) return;
    start(new Uint8Array(await file.arrayBuffer()));
    store();
    notice.textContent = "Réponses de « " + file.name + " » ouvertes.";
    event.target.value = "";
  });

  // A learning platform's SCORM run-time, found as each version's rules say:
  // API_1484_11 (2004) or API (1.2) on this window or one of its parents, at
  // most 500 or 7 levels up, then on the opener and its parents. The engine
  // says what to read and write; this only makes the calls.
  function connectPlatform() {
    const versions = [
      { version: 2004, name: "API_1484_11", levels: 500, calls: ["Initialize", "GetValue", "SetValue", "Commit", "Terminate"] },
      { version: 12, name: "API", levels: 7, calls: ["LMSInitialize", "LMSGetValue", "LMSSetValue", "LMSCommit", "LMSFinish"] },
    ];
    function find(name, levels) {
      for (const first of [window, window.opener]) {
        let frame = first;
        for (let level = 0; frame && level <= levels; ++level) {
          try {
            if (frame[name]) return frame[name];
          } catch (error) {
            break;  // a frame of another site
          }
          if (frame.parent === frame) break;
          frame = frame.parent;
        }
      }
      return null;
    }
    let found = null;
    for (const candidate of versions) {
      const api = find(candidate.name, candidate.levels);
      if (api) {
        found = Object.assign({ api }, candidate);
        break;
      }
    }
    if (!found) return null;
    const [initialize, getValue, setValue, commit, finish] = found.calls.map((call) => (...args) => {
      try {
        return String(found.api[call](...args));
      } catch (error) {
        return "false";
      }
    });
    if (initialize("") !== "true") return null;
    const startedAt = performance.now();
    const elements = JSON.parse(text(engine._kelvoPlatformElements(found.version)));
    let finished = false;
    const tooLongNotice = "Ces réponses sont trop longues pour la plateforme : elles ne sont gardées que sur cet appareil, " +
      "dans ce navigateur. Votre score lui est bien transmis.";
    // Score, status, time and answers, then one commit, or the session's end.
    function report(then) {
      if (finished) return;
      const centiseconds = Math.round((performance.now() - startedAt) / 10);
      const values = JSON.parse(text(engine._kelvoPlatformReport(found.version, centiseconds)));
      let kept = values.kept;
      for (const [name, value] of values.values) {
        if (setValue(name, value) !== "true" && name === elements.suspend) kept = false;
      }
      // Said once when they stop fitting, taken back when they fit again.
      if (!kept && !session.tooLong) notice.textContent = tooLongNotice;
      else if (kept && session.tooLong) notice.textContent = "";
      session.tooLong = !kept;
      finished = then === finish;
      then("");
    }
    const session = {
      learner: getValue(elements.learner),
      tooLong: false,
      // The answers its suspend data holds, or null.
      answers() {
        if (elements.entry && getValue(elements.entry) !== "resume") return null;
        const pointer = withText(getValue(elements.suspend), (suspend) => engine._kelvoAnswersFromPlatform(suspend));
        return pointer ? engine.HEAPU8.slice(pointer, pointer + engine._kelvoTextLength()) : null;
      },
      report: () => report(commit),
    };
    document.addEventListener("visibilitychange", () => {
      if (document.visibilityState === "hidden") report(commit);
    });
    window.addEventListener("pagehide", () => report(finish));
    return session;
  }

  function element(tag, properties, ...children) {
    const made = Object.assign(document.createElement(tag), properties);
    made.append(...children.filter((child) => child !== null));
    return made;
  }

  function draw(model) {
    document.documentElement.style.setProperty("--quiz", model.colour);
    document.documentElement.style.setProperty("--ink", model.ink);
    document.title = model.title || document.title;
    $("quiz-title").textContent = model.title;
    $("quiz-explanation").textContent = model.explanation;
    $("quiz-author").textContent = model.author;
    $("32").textContent = model.score;
    const grid = model.kind !== 0;
    const list = element("ol", { id: "quiz-list", className: "questions " + (grid ? "grid" : "rows") });
    for (const question of model.questions) list.append(grid ? cell(model, question) : row(question));
    $("quiz").replaceChildren(list);
  }

  function answerBox(id) {
    return element("input", { id: String(id), type: "text", autocomplete: "off", spellcheck: false, autocapitalize: "off" });
  }
  function verdict(boxId) {
    const output = element("output", { id: String(boxId + 1000), className: "verdict" }, "?");
    output.htmlFor = String(boxId);
    output.dataset.brush = "none";
    return output;
  }

  function row(question) {
    const boxId = question.boxes[0];
    const label = element("label", { className: "question", htmlFor: String(boxId) },
      element("span", { className: "number" }, question.number + "."),
      element("span", { className: "prompt" }, question.prompt));
    return element("li", { className: "row" }, label, answerBox(boxId), verdict(boxId));
  }

  function cell(model, question) {
    const slots = question.boxes.map((boxId, slot) => {
      const caption = model.captions[slot] || "Réponse";
      const label = element("label", { htmlFor: String(boxId) },
        element("span", { className: "number" }, question.number + "."),
        element("span", { className: model.captions[slot] ? "" : "visually-hidden" }, " " + caption));
      return element("div", { className: "slot" }, label, answerBox(boxId), verdict(boxId));
    });
    const reveal = question.reveal
      ? element("p", { id: String(question.reveal), className: "reveal", hidden: true }, question.revealText)
      : null;
    return element("li", { className: "cell" }, element("div", { className: "media" }, mediaOf(model, question)), ...slots, reveal);
  }

  function mediaOf(model, question) {
    if (question.picture) {
      const picture = media[question.pictureResource];
      return element("img", { id: String(question.picture), alt: "Image de la question " + question.number,
        src: (picture && picture.url) || "", decoding: "async" });
    }
    const clip = question.clip ? media[question.clip] : null;
    if (!clip) return null;
    if (clip.notice) return element("p", { className: "notice" }, clip.notice);
    return element(model.kind === 3 ? "video" : "audio", { controls: true, preload: "none", src: clip.url,
      ariaLabel: "Extrait de la question " + question.number });
  }
})().catch(() => {
  document.documentElement.dataset.failed = "1";
  document.getElementById("quiz-notice").textContent = "Ce quiz ne peut pas s'ouvrir dans ce navigateur. Essayez un navigateur récent (Chrome, Firefox, Edge, Safari).";
});
