// The studio's worker: the engine (kelvopack's core in WebAssembly) runs
// here, off the page's thread, so that preparing pictures or saving never
// stops the teacher typing. It only forwards: each request of the page
// becomes one or a few engine calls, answered in turn.
"use strict";

let engine = null;
const requests = [];
let working = false;
const sentPreviews = new Set();  // pictures the page already shows as stored

self.onmessage = (event) => {
  requests.push(event.data);
  if (!working) answerRequests();
};

async function answerRequests() {
  working = true;
  while (requests.length) {
    const request = requests.shift();
    let reply;
    try {
      reply = await handlers[request.op](request);
      if (engine) reply.records = newRecords();
    } catch (error) {
      reply = { error: "Le studio a rencontré une erreur interne : " + error };
    }
    // Files go back whole, not copied: a quiz of photos weighs hundreds of megabytes.
    const transfer = (reply.files || []).concat(reply.records || []).map((file) => file.bytes.buffer);
    if (reply.bytes) transfer.push(reply.bytes.buffer);
    self.postMessage(Object.assign({ type: "reply", id: request.id }, reply), transfer);
  }
  working = false;
}

// Bytes and texts into the engine's memory for one call, freed afterwards.
function withBytes(bytes, call) {
  const pointer = engine._malloc(Math.max(bytes.length, 1));
  engine.HEAPU8.set(bytes, pointer);
  try {
    return call(pointer, bytes.length);
  } finally {
    engine._free(pointer);
  }
}
function withTexts(texts, call, done = []) {
  if (done.length === texts.length) return call(...done);
  return withBytes(new TextEncoder().encode(texts[done.length] + "\0"), (pointer) =>
    withTexts(texts, call, done.concat([pointer])));
}
const json = (pointer) => JSON.parse(engine.UTF8ToString(pointer));
const text = (pointer) => engine.UTF8ToString(pointer);
function handedBytes() {
  const pointer = engine._studioBytes();
  return engine.HEAPU8.slice(pointer, pointer + engine._studioByteCount());
}
function base64Bytes(base64) {
  const binary = atob(base64 || "");
  return Uint8Array.from(binary, (c) => c.charCodeAt(0));
}

function folderFiles() {
  const names = json(engine._studioFileNames());
  return names.map((name) => withTexts([name], (n) => {
    engine._studioFile(n);
    return { name, bytes: handedBytes() };
  }));
}

// The pictures the engine prepared for this request, as records the page
// keeps under their file and setting ("photo.jpg\n0").
function newRecords() {
  return json(engine._studioNewRecords()).map(([file, keep], index) => {
    engine._studioRecord(index);
    return { key: recordKey(file, keep), bytes: handedBytes() };
  });
}
const recordKey = (file, keep) => file + "\n" + (keep ? 1 : 0);

// An opened quiz: the form, and the media files the page keeps.
function opened(reply) {
  if (reply.error) return reply;
  sentPreviews.clear();
  return { form: reply.form, warning: reply.warning, files: folderFiles() };
}

async function inflate(bytes) {
  const stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream("deflate-raw"));
  return new Uint8Array(await new Response(stream).arrayBuffer());
}

const handlers = {
  async start(request) {
    engine = await createKelvoStudio();
    withTexts([request.build], (build) =>
      withBytes(base64Bytes(request.player), (pointer, length) => engine._studioStart(pointer, length, build)));
    return {};
  },
  // Records the page kept: the keys of those the engine refused (another file, another build).
  restoreRecords(request) {
    return { refused: request.records.filter((record) =>
      !withBytes(record.bytes, (pointer, length) => engine._studioRestoreRecord(pointer, length))).map((record) => record.key) };
  },
  put(request) {
    sentPreviews.forEach((key) => { if (key.startsWith(request.name + "\n")) sentPreviews.delete(key); });
    return { error: withTexts([request.name], (name) =>
      withBytes(request.bytes, (pointer, length) => text(engine._studioPutFile(name, pointer, length)))) };
  },
  check(request) {
    const result = withTexts([request.form], (form) => json(engine._studioCheck(form)));
    const keep = JSON.parse(request.form).keep_pictures ? 1 : 0;
    result.previews = {};
    for (const picture of Object.values(result.pictures)) {
      const key = recordKey(picture.file, keep);
      if (sentPreviews.has(key)) continue;
      withTexts([picture.file], (name) => engine._studioStoredPicture(name, keep));
      result.previews[picture.file] = handedBytes();
      sentPreviews.add(key);
    }
    return result;
  },
  save(request) {
    const reply = withTexts([request.form], (form) => json(engine._studioSave(form, request.output)));
    if (!reply.error) reply.bytes = handedBytes();
    return reply;
  },
  verdict(request) {
    return withTexts([request.expected, request.typed], (expected, typed) => json(engine._studioVerdict(expected, typed)));
  },
  openExecutable(request) {
    return opened(withTexts([request.name], (name) =>
      withBytes(request.bytes, (pointer, length) => json(engine._studioOpenExecutable(name, pointer, length)))));
  },
  // The quiz data of a page written by kelvopack, as that page reads it.
  openPage(request) {
    const html = new TextDecoder().decode(request.bytes);
    const start = '<script type="application/json" id="kelvo-data">';
    const from = html.indexOf(start);
    const to = from < 0 ? -1 : html.indexOf("</script>", from);
    let data = null;
    try {
      data = to < 0 ? null : JSON.parse(html.slice(from + start.length, to));
    } catch (error) {
      data = null;
    }
    const field = (name) => (data && typeof data[name] === "string" ? data[name] : "");
    let quiz, codes;
    try {
      quiz = base64Bytes(field("quiz"));
      codes = base64Bytes(field("codes"));
      for (const [id, entry] of Object.entries((data && data.media) || {})) {
        const url = (entry && entry.url) || "";
        const media = base64Bytes(url.slice(url.indexOf(",") + 1));
        withBytes(media, (pointer, length) => engine._studioStagePageMedia(Number(id), pointer, length));
      }
    } catch (error) {
      quiz = new Uint8Array(0);
      codes = new Uint8Array(0);
    }
    return opened(withTexts([request.name, field("name"), field("identity")], (name, pageName, identity) =>
      withBytes(quiz, (quizPointer, quizLength) => withBytes(codes, (codesPointer, codesLength) =>
        json(engine._studioOpenPage(name, quizPointer, quizLength, codesPointer, codesLength, pageName, identity))))));
  },
  openFolder(request) {
    for (const file of request.files) {
      withTexts([file.name], (name) => withBytes(file.bytes, (pointer, length) => engine._studioStageFile(name, pointer, length)));
    }
    return opened(json(engine._studioOpenFolder()));
  },
  async openZip(request) {
    const listed = withBytes(request.bytes, (pointer, length) => json(engine._studioReadZip(pointer, length)));
    if (listed.error) return listed;
    for (let index = 0; index < listed.methods.length; ++index) {
      if (listed.methods[index] !== 8) continue;
      engine._studioZipData(index);
      let inflated;
      try {
        inflated = await inflate(handedBytes());
      } catch (error) {
        inflated = new Uint8Array(0);  // the CRC check names the entry
      }
      withBytes(inflated, (pointer, length) => engine._studioSetZipData(index, pointer, length));
    }
    return opened(json(engine._studioOpenZip()));
  },
};
