// The studio page's script. It draws the form from one description of the
// quiz's fields and forwards what the teacher does to the engine, which runs
// in a worker: every rule (limits, messages, the fitting of pictures,
// verdicts, the files written) is kelvopack's own C++.
"use strict";

(function () {
  const $ = (id) => document.getElementById(id);

  // The form: one entry per field of the quiz source. `limit` fields show
  // their length against the engine's limit; `when` names the engine's
  // answer that says whether the quiz uses the field.
  const KINDS = [["text", "Texte (une ligne par question)"], ["picture", "Images"], ["audio", "Sons"], ["video", "Vidéos"]];
  const REVEALS = [["none", "Rien"], ["picture", "Une autre image"], ["text", "Un texte"],
    ["text-and-picture", "Un texte et une autre image"], ["all-at-end", "Tous les textes, quand tout est juste"]];
  const SETTINGS = [
    { key: "file", label: "Nom des fichiers enregistrés (sans .exe ni .html)", control: "text" },
    { key: "title", label: "Titre", control: "text", limit: true },
    { key: "author", label: "Auteur", control: "text", limit: true },
    { key: "explanation", label: "Consigne", control: "text", limit: true },
    { key: "kind", label: "Sorte de quiz", control: "choice", choices: KINDS },
    { key: "reveal", label: "Une bonne réponse révèle", control: "choice", choices: REVEALS, when: "reveal" },
    { key: "colour", label: "Couleur de fond", control: "colour" },
    { key: "two_answers", label: "Deux réponses par question (grilles)", control: "check" },
    { key: "captions", index: 0, label: "Légende de la première colonne", control: "text", limit: true, when: "captions" },
    { key: "captions", index: 1, label: "Légende de la seconde colonne", control: "text", limit: true, when: "captions" },
    { key: "keep_pictures", label: "Garder les images telles quelles, sans les réduire", control: "check", when: "keep_pictures" },
  ];
  const QUESTION_FIELDS = [
    { key: "prompt", label: "Énoncé", control: "text", limit: true, when: "prompt" },
    { key: "picture", label: "Image", control: "file", accept: "image/*,.bmp,.gif,.jpg,.jpeg,.png", when: "picture" },
    { key: "clip", label: "Extrait (son ou vidéo)", control: "file", accept: "audio/*,video/*,.avi,.wmv,.mid,.midi", when: "clip" },
    { key: "answer", label: "Réponse attendue", control: "text", limit: true },
    { key: "second_answer", label: "Seconde réponse attendue", control: "text", limit: true, when: "second_answer" },
    { key: "reveal_text", label: "Texte révélé", control: "text", limit: true, when: "reveal_text" },
    { key: "reveal_picture", label: "Image révélée", control: "file", accept: "image/*,.bmp,.gif,.jpg,.jpeg,.png", when: "reveal_picture" },
  ];
  const OUTPUTS = { "save-exe": 0, "save-html": 1, "save-zip": 2 };
  const NO_STORAGE = "Ce navigateur ne garde pas le travail en cours (stockage désactivé ou plein) : " +
    "il n'existe que dans cette page jusqu'à ce que vous l'enregistriez (.exe, .html ou .zip).";

  const emptyQuestion = () => ({ answer: "", second_answer: "", prompt: "", reveal_text: "", picture: "", reveal_picture: "", clip: "" });
  const emptyForm = () => ({ file: "mon-quiz", title: "", author: "", explanation: "", kind: "text", reveal: "none", colour: "#5a5f96",
    two_answers: false, captions: ["", ""], codes: [], keep_pictures: false, questions: [emptyQuestion()] });

  let form = emptyForm();
  const media = new Map();       // file name -> bytes, what the worker's folder holds
  const previews = new Map();    // file name -> object URL of the picture as stored
  let checked = null;            // the engine's last answer about the form
  const fieldElements = new Map();  // engine field name -> its .field element

  // ---- The worker ---------------------------------------------------------
  const worker = new Worker(URL.createObjectURL(new Blob(
    [$("engine-code").textContent, "\n", $("worker-code").textContent], { type: "text/javascript" })));
  const pending = new Map();
  let nextId = 1;
  worker.onmessage = (event) => {
    const message = event.data;
    if (message.type === "progress") return showProgress(message.done, message.total);
    if (message.records && message.records.length) storeRecords(message.records);
    const resolve = pending.get(message.id);
    pending.delete(message.id);
    if (resolve) resolve(message);
  };
  function ask(op, request = {}, transfer = []) {
    return new Promise((resolve) => {
      const id = nextId++;
      pending.set(id, resolve);
      worker.postMessage(Object.assign({ id, op }, request), transfer);
    });
  }

  function status(text) { $("status").textContent = text; }
  function showProgress(done, total) {
    const bar = $("progress");
    $("progress-line").hidden = done >= total;
    bar.max = total;
    bar.value = done;
    $("progress-text").textContent = "Images : " + done + " / " + total;
  }

  // ---- Drawing ---------------------------------------------------------------
  function element(tag, attributes = {}, children = []) {
    const node = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes)) {
      if (name === "text") node.textContent = value;
      else if (value !== false && value !== undefined) node.setAttribute(name, value === true ? "" : value);
    }
    for (const child of children) node.append(child);
    return node;
  }

  // One field of the description: its control, label, counter and message.
  function drawField(field, id, name, value, store) {
    const wrapper = element("div", { class: "field" + (field.control === "check" ? " check" : ""), "data-field": name });
    const problem = element("p", { class: "problem", id: id + "-problem", hidden: true });
    const count = element("span", { class: "count", id: id + "-count" });
    const describedBy = id + "-problem" + (field.limit ? " " + id + "-count" : "");
    let control;
    if (field.control === "choice") {
      control = element("select", { id, "aria-describedby": describedBy },
        field.choices.map(([choice, label]) => element("option", { value: choice, text: label, selected: choice === value })));
      control.addEventListener("change", () => store(control.value, true));
    } else if (field.control === "check") {
      control = element("input", { type: "checkbox", id, "aria-describedby": describedBy, checked: !!value });
      control.addEventListener("change", () => store(control.checked, true));
    } else if (field.control === "colour") {
      const text = element("input", { type: "text", id, value, "aria-describedby": describedBy, spellcheck: "false", autocomplete: "off" });
      const picker = element("input", { type: "color", id: id + "-picker", value: /^#[0-9a-f]{6}$/i.test(value) ? value.toLowerCase() : "#5a5f96",
        "aria-label": "Choisir la couleur" });
      text.addEventListener("input", () => { if (/^#[0-9a-f]{6}$/i.test(text.value)) picker.value = text.value.toLowerCase(); store(text.value); });
      picker.addEventListener("input", () => { text.value = picker.value; store(picker.value); });
      wrapper.append(element("label", { for: id, text: field.label }), element("div", { class: "colour" }, [text, picker]), problem);
      return wrapper;
    } else if (field.control === "file") {
      return drawMediaField(field, id, name, value, store, wrapper, problem);
    } else {
      control = element("input", { type: "text", id, value, "aria-describedby": describedBy, autocomplete: "off" });
      control.addEventListener("input", () => store(control.value));
    }
    const label = element("label", { for: id, text: field.label });
    if (field.control === "check") wrapper.append(control, label, problem);
    else wrapper.append(label, control, field.limit ? count : "", problem);
    return wrapper;
  }

  // A picture or clip: a file button, drag and drop, and the picture as stored.
  function drawMediaField(field, id, name, value, store, wrapper, problem) {
    wrapper.classList.add("media");
    const input = element("input", { type: "file", id, accept: field.accept, class: "hidden-input", "aria-describedby": id + "-problem " + id + "-name" });
    const choose = element("label", { class: "button", text: (value ? "Changer : " : "Choisir : ") + field.label.toLowerCase() + "…" }, [input]);
    const shown = element("p", { id: id + "-name", class: "file-name", text: value || "aucun fichier" });
    const remove = element("button", { type: "button", text: "Retirer", hidden: !value, "aria-label": "Retirer : " + field.label });
    const preview = element("img", { alt: "", hidden: true, "data-preview": value });
    const about = element("p", { class: "count", "data-about": name });
    const take = async (file) => {
      if (!file) return;
      const fileName = await addMedia(file.name, new Uint8Array(await file.arrayBuffer()));
      store(fileName, true);
    };
    input.addEventListener("change", () => take(input.files[0]));
    remove.addEventListener("click", () => store("", true));
    wrapper.addEventListener("dragover", (event) => { event.preventDefault(); wrapper.classList.add("dragging"); });
    wrapper.addEventListener("dragleave", () => wrapper.classList.remove("dragging"));
    wrapper.addEventListener("drop", (event) => {
      event.preventDefault();
      wrapper.classList.remove("dragging");
      take(event.dataTransfer.files[0]);
    });
    wrapper.append(element("span", { class: "label", text: field.label }),
      element("div", { class: "question-tools" }, [choose, remove]), shown, preview, about, problem);
    return wrapper;
  }

  function keep(name, wrapper) {
    fieldElements.set(name, wrapper);
    return wrapper;
  }

  function drawSettings() {
    const box = $("settings");
    box.replaceChildren(element("legend", { text: "Le quiz" }));
    const grid = element("div", { class: "grid" });
    for (const field of SETTINGS) {
      const name = field.index === undefined ? field.key : field.key + " n° " + (field.index + 1);
      const id = "f-" + field.key + (field.index === undefined ? "" : "-" + field.index);
      const value = field.index === undefined ? form[field.key] : form[field.key][field.index];
      grid.append(keep(name, drawField(field, id, name, value, (v, structural) => {
        if (field.index === undefined) form[field.key] = v; else form[field.key][field.index] = v;
        changed(structural);
      })));
    }
    box.append(grid);
  }

  function drawCodes() {
    const list = $("code-list");
    list.replaceChildren();
    const count = Math.max(form.questions.length, form.codes.length);
    for (let k = 0; k < count; ++k) {
      const name = "codes n° " + (k + 1);
      const field = { label: "Code pour " + (k + 1) + " bonne" + (k ? "s" : "") + " réponse" + (k ? "s" : ""), control: "text", limit: true };
      list.append(keep(name, drawField(field, "f-code-" + k, name, form.codes[k] || "", (v) => {
        while (form.codes.length <= k) form.codes.push("");
        form.codes[k] = v;
        changed();
      })));
    }
  }

  function drawQuestion(question, index) {
    const number = index + 1;
    const item = element("li", { class: "question", id: "q-" + number, "aria-labelledby": "q-" + number + "-title" });
    const tools = [["Monter", -1], ["Descendre", 1]].map(([label, step]) =>
      element("button", { type: "button", "data-move": step, text: label, "aria-label": label + " la question " + number,
        disabled: (step < 0 && index === 0) || (step > 0 && index === form.questions.length - 1) }));
    tools.push(element("button", { type: "button", "data-duplicate": "", text: "Dupliquer", "aria-label": "Dupliquer la question " + number }));
    tools.push(element("button", { type: "button", "data-remove": "", text: "Supprimer", "aria-label": "Supprimer la question " + number,
      disabled: form.questions.length === 1 }));
    for (const tool of tools) tool.dataset.question = index;
    const problem = element("p", { class: "problem", "data-slot": "question " + number, hidden: true });
    const grid = element("div", { class: "grid" });
    for (const field of QUESTION_FIELDS) {
      const name = "question " + number + ", " + field.key;
      grid.append(keep(name, drawField(Object.assign({}, field), "f-q" + number + "-" + field.key, name, question[field.key], (v, structural) => {
        question[field.key] = v;
        changed(structural);
      })));
    }
    const pupilId = "f-q" + number + "-pupil";
    const pupil = element("div", { class: "pupil field" }, [
      element("label", { for: pupilId, text: "Ce qu'un élève tape (pour voir le verdict)" }),
      element("input", { type: "text", id: pupilId, "data-pupil": index, autocomplete: "off" }),
      element("output", { for: pupilId, id: pupilId + "-verdict", "aria-live": "polite" }),
    ]);
    item.append(element("h3", { id: "q-" + number + "-title", text: "Question " + number }), element("div", { class: "question-tools" }, tools),
      problem, grid, pupil);
    return item;
  }

  function drawQuestions() {
    $("question-list").replaceChildren(...form.questions.map(drawQuestion));
  }

  // Drawn again whole after a change of structure; the focus stays on the
  // control of the same id.
  function drawForm() {
    const focused = document.activeElement && document.activeElement.id;
    fieldElements.clear();
    drawSettings();
    drawCodes();
    drawQuestions();
    if (checked) showChecked(checked);
    if (focused && $(focused)) $(focused).focus();
  }

  // ---- The engine's answers shown -------------------------------------------
  function showChecked(result) {
    checked = result;
    const shown = result.shown || {};
    for (const [name, wrapper] of fieldElements) {
      const key = name.startsWith("question ") ? name.slice(name.indexOf(", ") + 2) : name.replace(/ n° \d+$/, "");
      if (key in shown) wrapper.hidden = !shown[key];
      const count = wrapper.querySelector(".count:not([data-about])");
      if (count && result.lengths && name in result.lengths) {
        const length = result.lengths[name];
        count.textContent = length + " / " + result.limits.text + " caractères";
        count.classList.toggle("over", length > result.limits.text);
      }
    }
    for (const problem of document.querySelectorAll(".problem")) {
      problem.hidden = true;
      problem.textContent = "";
    }
    const general = [];
    for (const problem of result.problems || []) {
      const wrapper = fieldElements.get(problem.field);
      let target = wrapper && !wrapper.hidden ? wrapper.querySelector(".problem") : null;
      const question = /^question \d+/.exec(problem.field);
      if (!target) target = document.querySelector('[data-slot="' + (question ? question[0] : problem.field) + '"]');
      const text = (problem.error ? "Erreur : " : "Attention : ") + problem.message;
      if (!target) {
        general.push((problem.field ? problem.field + " : " : "") + text);
        continue;
      }
      target.textContent += (target.textContent ? "\n" : "") + text;
      target.classList.toggle("warning", !problem.error && !target.textContent.includes("Erreur"));
      target.hidden = false;
    }
    if (general.length) {
      $("problems-general").textContent = general.join("\n");
      $("problems-general").hidden = false;
    }
    for (const [file, bytes] of Object.entries(result.previews || {})) {
      if (previews.has(file)) URL.revokeObjectURL(previews.get(file));
      previews.set(file, URL.createObjectURL(new Blob([bytes])));
    }
    for (const [name, picture] of Object.entries(result.pictures || {})) {
      const wrapper = fieldElements.get(name);
      if (!wrapper) continue;
      const image = wrapper.querySelector("img");
      image.src = previews.get(picture.file) || "";
      image.hidden = !previews.has(picture.file);
      image.alt = "L'image telle que le quiz la garde";
      wrapper.querySelector("[data-about]").textContent = picture.description + (picture.shrink ? " (fichier : " + picture.shrink + ")" : "");
    }
    document.documentElement.dataset.valid = result.valid ? "1" : "0";
    document.documentElement.dataset.picturesPrepared = result.prepared;
    $("question-count").textContent = "(" + form.questions.length + " / " + result.limits.questions + ")";
    $("add-question").disabled = form.questions.length >= result.limits.questions;
    $("pictures-summary").textContent = result.shrink ? "Images : " + result.shrink : "";
  }

  // ---- Changes -----------------------------------------------------------------
  // data-busy stands while a check is due or under way (tests wait on it).
  let checkTimer = 0;
  let checksUnderWay = 0;
  function changed(structural) {
    if (structural) drawForm();
    clearTimeout(checkTimer);
    document.documentElement.dataset.busy = "1";
    checkTimer = setTimeout(check, 120);
    autosave();
  }
  async function check() {
    checkTimer = 0;
    ++checksUnderWay;
    document.documentElement.dataset.busy = "1";
    const result = await ask("check", { form: JSON.stringify(form) });
    if (--checksUnderWay === 0 && !checkTimer) delete document.documentElement.dataset.busy;
    showChecked(result);
  }

  // A new file gets a name of its own unless it is the same file again.
  async function addMedia(name, bytes) {
    let fileName = name.replace(/[\\/:*?"<>|]/g, "_");
    const dot = fileName.lastIndexOf(".");
    for (let n = 2; media.has(fileName) && !sameBytes(media.get(fileName), bytes); ++n) {
      fileName = dot > 0 ? name.slice(0, dot) + "-" + n + name.slice(dot) : name + "-" + n;
    }
    if (!media.has(fileName)) await putMedia(fileName, bytes);
    return fileName;
  }
  async function putMedia(fileName, bytes) {
    media.set(fileName, bytes);
    const reply = await ask("put", { name: fileName, bytes });
    if (reply.error) status(reply.error);
    storeMedia(fileName, bytes);
    forgetRecords(fileName);
  }
  function sameBytes(a, b) {
    if (a.length !== b.length) return false;
    for (let i = 0; i < a.length; ++i) if (a[i] !== b[i]) return false;
    return true;
  }

  $("form").addEventListener("submit", (event) => event.preventDefault());
  $("question-list").addEventListener("click", (event) => {
    const button = event.target.closest("button[data-question]");
    if (!button) return;
    const index = Number(button.dataset.question);
    let focus = null;
    if (button.dataset.move) {
      const to = index + Number(button.dataset.move);
      [form.questions[index], form.questions[to]] = [form.questions[to], form.questions[index]];
      focus = "q-" + (to + 1);
    } else if ("duplicate" in button.dataset) {
      form.questions.splice(index + 1, 0, Object.assign({}, form.questions[index]));
      focus = "f-q" + (index + 2) + "-answer";
    } else if ("remove" in button.dataset) {
      form.questions.splice(index, 1);
      focus = "q-" + Math.min(index + 1, form.questions.length);
    }
    changed(true);
    const target = $(focus);
    if (target) {
      const first = target.matches("li") ? target.querySelector("button:not([disabled])") : target;
      if (first) first.focus();
    }
  });
  $("question-list").addEventListener("input", (event) => {
    if (event.target.dataset.pupil !== undefined) pupilVerdict(Number(event.target.dataset.pupil));
  });
  async function pupilVerdict(index) {
    const typed = $("f-q" + (index + 1) + "-pupil").value;
    const question = form.questions[index];
    const slots = form.two_answers ? [question.answer, question.second_answer] : [question.answer];
    const verdicts = [];
    for (const expected of slots) {
      const reply = await ask("verdict", { expected, typed });
      verdicts.push(reply.error || reply.verdict);
    }
    const output = $("f-q" + (index + 1) + "-pupil-verdict");
    if (output) output.textContent = verdicts.length > 1 ? "Réponse 1 : " + verdicts[0] + " · réponse 2 : " + verdicts[1] : verdicts[0];
  }
  $("add-question").addEventListener("click", () => {
    form.questions.push(emptyQuestion());
    changed(true);
    $("f-q" + form.questions.length + "-" + (form.kind === "text" ? "prompt" : "answer")).focus();
  });

  // ---- Saving, playing, opening ---------------------------------------------
  function download(name, bytes) {
    const link = element("a", { href: URL.createObjectURL(new Blob([bytes], { type: "application/octet-stream" })), download: name });
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  }
  for (const id of Object.keys(OUTPUTS)) {
    $(id).addEventListener("click", async () => {
      clearTimeout(checkTimer);
      status("Enregistrement…");
      const began = performance.now();
      const reply = await ask("save", { form: JSON.stringify(form), output: OUTPUTS[id] });
      document.documentElement.dataset.saveMs = Math.round(performance.now() - began);
      $("progress-line").hidden = true;
      if (reply.error) {
        status(reply.error);
        await check();
        return;
      }
      download(reply.name, reply.bytes);
      status(reply.name + " enregistré (" + Math.ceil(reply.bytes.length / 1024) + " Ko)." +
        (reply.warnings.length ? " Attention : " + reply.warnings.join(" ") : ""));
      document.documentElement.dataset.saved = reply.name;
    });
  }
  $("play").addEventListener("click", async () => {
    const reply = await ask("save", { form: JSON.stringify(form), output: OUTPUTS["save-html"] });
    $("progress-line").hidden = true;
    if (reply.error) {
      status(reply.error);
      return check();
    }
    const frame = $("player-frame");
    if (frame.src) URL.revokeObjectURL(frame.src);
    frame.src = URL.createObjectURL(new Blob([reply.bytes], { type: "text/html" }));
    showPlayer(true);
    $("back").focus();
  });
  $("back").addEventListener("click", () => {
    showPlayer(false);
    $("play").focus();
  });
  // While the quiz plays over the form, nothing behind it takes the focus.
  function showPlayer(shown) {
    $("player").hidden = !shown;
    for (const behind of document.querySelectorAll("body > header, body > .status-line, body > main")) behind.inert = shown;
  }

  async function opened(reply, what) {
    if (reply.error) {
      status("Impossible d'ouvrir " + what + " : " + reply.error);
      return;
    }
    form = Object.assign(emptyForm(), reply.form);
    if (form.captions.length < 2) form.captions = form.captions.concat(["", ""]).slice(0, 2);
    media.clear();
    for (const file of reply.files) media.set(file.name, file.bytes);
    await clearStoredFiles();
    for (const [name, bytes] of media) storeMedia(name, bytes);
    checked = null;
    drawForm();
    status(what + " ouvert." + (reply.warning ? " Attention : " + reply.warning : ""));
    changed();
  }
  $("open-file").addEventListener("change", async () => {
    const file = $("open-file").files[0];
    $("open-file").value = "";
    if (!file) return;
    const bytes = new Uint8Array(await file.arrayBuffer());
    const lower = file.name.toLowerCase();
    const op = bytes[0] === 0x4d && bytes[1] === 0x5a ? "openExecutable"
      : bytes[0] === 0x50 && bytes[1] === 0x4b ? "openZip"
      : lower.endsWith(".html") || lower.endsWith(".htm") ? "openPage" : "openExecutable";
    status("Ouverture de " + file.name + "…");
    opened(await ask(op, { name: file.name, bytes }, [bytes.buffer]), file.name);
  });
  $("open-folder").addEventListener("change", async () => {
    const chosen = Array.from($("open-folder").files);
    $("open-folder").value = "";
    if (!chosen.length) return;
    const files = [];
    for (const file of chosen) files.push({ name: file.webkitRelativePath || file.name, bytes: new Uint8Array(await file.arrayBuffer()) });
    opened(await ask("openFolder", { files }, files.map((file) => file.bytes.buffer)), "le dossier " + (files[0].name.split("/")[0] || ""));
  });
  $("new").addEventListener("click", async () => {
    if (!window.confirm("Oublier le quiz en cours et commencer un nouveau quiz ? Ce qui n'a pas été enregistré sera perdu.")) return;
    await ask("openFolder", { files: [{ name: "mon-quiz.toml", bytes: new Uint8Array(0) }] });   // an empty folder
    await opened({ form: emptyForm(), files: [] }, "Un nouveau quiz");
  });

  // ---- Keeping the work: IndexedDB -------------------------------------------
  let database = null;
  function storageFailed() {
    database = null;
    $("notice").textContent = NO_STORAGE;
    $("notice").hidden = false;
  }
  function openDatabase() {
    return new Promise((resolve) => {
      try {
        const request = indexedDB.open("kelvo-studio", 2);
        // "pictures": the engine's records of prepared pictures, so that a
        // photo quiz opened again is not prepared again.
        request.onupgradeneeded = () => {
          for (const store of ["work", "media", "pictures"]) {
            if (!request.result.objectStoreNames.contains(store)) request.result.createObjectStore(store);
          }
        };
        request.onsuccess = () => {
          // Another page (or a test) forgetting the work must not wait on this one.
          request.result.onversionchange = () => request.result.close();
          resolve(request.result);
        };
        request.onerror = () => resolve(null);
        request.onblocked = () => resolve(null);
      } catch (error) {
        resolve(null);
      }
    });
  }
  // data-kept stands once every change so far is in storage (tests wait on it).
  let writesUnderWay = 0;
  let saveTimer = 0;
  function transaction(stores, write, fill) {
    if (!database) return Promise.resolve(null);
    if (write) {
      ++writesUnderWay;
      delete document.documentElement.dataset.kept;
    }
    return new Promise((resolve) => {
      const done = (value) => {
        if (write && --writesUnderWay === 0 && !saveTimer && database) document.documentElement.dataset.kept = "1";
        resolve(value);
      };
      try {
        const tx = database.transaction(stores, write ? "readwrite" : "readonly");
        const result = fill(tx);
        tx.oncomplete = () => done(result.result !== undefined ? result.result : null);
        tx.onerror = tx.onabort = () => { if (write) storageFailed(); done(null); };
      } catch (error) {
        if (write) storageFailed();
        done(null);
      }
    });
  }
  function autosave() {
    clearTimeout(saveTimer);
    delete document.documentElement.dataset.kept;
    saveTimer = setTimeout(() => {
      saveTimer = 0;
      transaction(["work"], true, (tx) => tx.objectStore("work").put(JSON.stringify(form), "form"));
    }, 300);
  }
  function storeMedia(name, bytes) { transaction(["media"], true, (tx) => tx.objectStore("media").put(bytes, name)); }
  function storeRecords(records) {
    transaction(["pictures"], true, (tx) => records.map((record) => tx.objectStore("pictures").put(record.bytes, record.key)).pop());
  }
  // A file's records go with it, whatever setting they were made for (keys as the worker's recordKey).
  function forgetRecords(name) {
    transaction(["pictures"], true, (tx) => [0, 1].map((keep) => tx.objectStore("pictures").delete(name + "\n" + keep)).pop());
  }
  function clearStoredFiles() {
    return transaction(["media", "pictures"], true, (tx) => { tx.objectStore("pictures").clear(); return tx.objectStore("media").clear(); });
  }
  async function restore() {
    const saved = await transaction(["work"], false, (tx) => tx.objectStore("work").get("form"));
    if (!saved) return false;
    const names = await transaction(["media"], false, (tx) => tx.objectStore("media").getAllKeys());
    const files = await transaction(["media"], false, (tx) => tx.objectStore("media").getAll());
    try {
      form = Object.assign(emptyForm(), JSON.parse(saved));
    } catch (error) {
      return false;
    }
    for (let i = 0; names && i < names.length; ++i) {
      media.set(names[i], files[i]);
      await ask("put", { name: names[i], bytes: files[i] });
    }
    // The prepared pictures after their files: the engine checks each against its file.
    const keys = await transaction(["pictures"], false, (tx) => tx.objectStore("pictures").getAllKeys());
    const records = await transaction(["pictures"], false, (tx) => tx.objectStore("pictures").getAll());
    if (keys && records && keys.length) {
      const reply = await ask("restoreRecords", { records: keys.map((key, i) => ({ key, bytes: records[i] })) });
      for (const key of reply.refused || []) transaction(["pictures"], true, (tx) => tx.objectStore("pictures").delete(key));
    }
    return true;
  }

  // ---- Start --------------------------------------------------------------------
  async function start() {
    drawForm();
    document.documentElement.dataset.drawnAt = Math.round(performance.now());
    const started = ask("start", { player: $("player-bytes").textContent.trim(), build: $("engine-build").content });
    database = await openDatabase();
    if (!database) storageFailed();
    await started;
    if (await restore()) {
      drawForm();
      status("Le quiz en cours a été retrouvé.");
    }
    await check();
    document.documentElement.dataset.ready = "1";
    document.documentElement.dataset.readyAt = Math.round(performance.now());
  }
  start();
})();
