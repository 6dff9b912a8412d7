// The page's language: the player's built-in texts in Russian or English, under a
// film's own table. Taken from the browser's preferred languages (the first of the two
// that appears; English when neither does), changed with the choice in the header and
// remembered in local storage. The worker's texts come back as a "texts" event.
"use strict";

const pageLanguage = (() => {
  const storageKey = "roRezodu.language";
  const known = ["ru", "en"];
  // Texts of the page itself, which no language table names; each %s takes the next value.
  const pageTexts = {
    ru: {
      hint: "Перетащите сюда фильм (.kof) или фильм-программу (.exe), или нажмите «Загрузить».",
      soundBlocked: "Браузер не даёт включить звук: нажмите здесь или в любом месте плеера",
      error: "Ошибка",
      loading: "Загрузка фильма ...",
      playerCannotStart: "Плеер не может запуститься: roRezodu.js или roRezodu.wasm не загружается.\n%s",
      badAddress: "Неверный адрес фильма: %s",
      soundCannotDecode: "Звук этого сегмента не удаётся декодировать.",
      workerFailed: "Рабочий поток плеера завершился с ошибкой.",
      zoom: "Масштаб",
      // What a screen reader says of the bar, the volume and the picture.
      barValue: "%s из %s, сегмент %s из %s",
      volumeValue: "%s%",
      picture: "%s, сегмент %s из %s",
      noFilm: "Фильм не открыт",
      // The export dialog.
      exportButton: "Экспорт",
      exportFormat: "Формат",
      sizeWidth: "Ширина",
      exportWidth: "Ширина в пикселях",
      exportStart: "Экспортировать",
      exportClose: "Закрыть",
      exportProgress: "Экспорт: %s%",
      exportDone: "Готово: %s",
      exportDoneWarning: "Готово с предупреждением: %s\n%s",
      exportDoneWarnings: "Готово с предупреждениями: %s\n%s",
      exportCancelled: "Экспорт отменён.",
      exportFailed: "Экспорт не удался: %s",
      exportUnsupported: "Этот браузер не умеет кодировать видео (нет WebCodecs): выберите GIF.",
      skipIdle: "Пропускать паузы",
      soundUnknown: "Звук сегмента %s не декодируется: паузы в нём не пропускаются",
      // Find on screen.
      searchClose: "Закрыть",
      // Making the text index in the page.
      indexMake: "Создать индекс",
      indexProgress: "Создание индекса: %s%",
      indexDoneOne: "Индекс готов, слов: %s",
      indexDone: "Индекс готов, слов: %s",
      indexCancelled: "Создание индекса отменено.",
      indexFailed: "Индекс не создан: %s",
      indexSave: "Сохранить индекс",
    },
    en: {
      hint: "Drop a film (.kof) or film executable (.exe) here, or click “Open”.",
      soundBlocked: "The browser holds the sound back: click here or anywhere on the player",
      error: "Error",
      loading: "Loading film...",
      playerCannotStart: "The player cannot start: roRezodu.js or roRezodu.wasm does not load.\n%s",
      badAddress: "The film's address is malformed: %s",
      soundCannotDecode: "The sound of this segment cannot be decoded.",
      workerFailed: "The player's worker failed.",
      zoom: "Zoom",
      barValue: "%s of %s, segment %s of %s",
      volumeValue: "%s%",
      picture: "%s, segment %s of %s",
      noFilm: "No film open",
      exportButton: "Export",
      exportFormat: "Format",
      sizeWidth: "Custom width",
      exportWidth: "Width in pixels",
      exportStart: "Export",
      exportClose: "Close",
      exportProgress: "Exporting: %s%",
      exportDone: "Done: %s",
      exportDoneWarning: "Done with a warning: %s\n%s",
      exportDoneWarnings: "Done with warnings: %s\n%s",
      exportCancelled: "Export canceled.",
      exportFailed: "Export failed: %s",
      exportUnsupported: "This browser cannot encode video (no WebCodecs): choose GIF.",
      skipIdle: "Skip idle stretches",
      soundUnknown: "The sound of segment %s cannot be decoded: none of it is skipped as idle",
      searchClose: "Close",
      indexMake: "Create index",
      indexProgress: "Creating index: %s%",
      indexDoneOne: "The index is ready: %s word",
      indexDone: "The index is ready: %s words",
      indexCancelled: "Index creation canceled.",
      indexFailed: "The index could not be made: %s",
      indexSave: "Save the index",
    },
  };
  const changed = [];  // what shows page texts beyond the marked elements

  function preferred() {
    for (const tag of navigator.languages || [navigator.language || ""]) {
      const primary = tag.toLowerCase().split("-")[0];
      if (known.includes(primary)) return primary;
    }
    return "en";
  }

  function remembered() {
    try {
      const code = localStorage.getItem(storageKey);
      return known.includes(code) ? code : null;
    } catch {
      return null;  // storage refused: the browser's preference
    }
  }

  const state = { code: remembered() || preferred() };

  function text(name, ...values) {
    let next = 0;
    return pageTexts[state.code][name].replace(/%s/g, () => String(values[next++] ?? ""));
  }

  // Every element marked data-page-text="NAME" shows it, every one marked
  // data-page-label="NAME" is named by it (its tooltip too), and what asked to be told.
  function showPageTexts() {
    document.documentElement.lang = state.code;
    for (const element of document.querySelectorAll("[data-page-text]")) element.textContent = text(element.dataset.pageText);
    for (const element of document.querySelectorAll("[data-page-label]")) {
      element.setAttribute("aria-label", text(element.dataset.pageLabel));
      element.title = text(element.dataset.pageLabel);
    }
    document.getElementById("language").value = state.code;
    for (const callback of changed) callback();
  }

  function choose(code) {
    if (!known.includes(code)) return;
    state.code = code;
    try {
      localStorage.setItem(storageKey, code);
    } catch {
      // not remembered; the choice holds for this visit
    }
    showPageTexts();
    send({ type: "language", code });
  }

  document.addEventListener("DOMContentLoaded", () => {
    showPageTexts();
    document.getElementById("language").addEventListener("change", (e) => choose(e.target.value));
  });
  // callback runs whenever the page's texts are shown anew.
  const onChange = (callback) => changed.push(callback);
  return { get code() { return state.code; }, choose, text, onChange };
})();
