#include "web/web_events.h"

#include "film/json_writer.h"
#include "session/command_table.h"

namespace {
TJsonWriter Begin(const char* event) {
  TJsonWriter json;
  json.BeginObject().Key("event").String(event);
  return json;
}

// The DOM's code of the key at a virtual key's place: letters and digits by their place
// on the keyboard, whatever its layout.
std::string PageKeyCode(uint16_t key) {
  switch (key) {
    case 0: return "";
    case kKeyEnter: return "Enter";
    case kKeyEnd: return "End";
    case kKeyHome: return "Home";
    case kKeyLeft: return "ArrowLeft";
    case kKeyRight: return "ArrowRight";
    case kKeyComma: return "Comma";
    case kKeyPeriod: return "Period";
    default: break;
  }
  if (key >= 'A' && key <= 'Z') return std::string("Key").append(1, static_cast<char>(key));
  if (key >= '0' && key <= '9') return std::string("Digit").append(1, static_cast<char>(key));
  return ShortcutText({key});  // the function keys: "F9"
}

void WriteTexts(TJsonWriter& json, const char* group, const std::vector<TPageText>& texts) {
  json.Key(group).BeginObject();
  for (const TPageText& text : texts) json.Key(text.Key).String(text.Value);
  json.EndObject();
}
}  // namespace

std::string SkippedEvent(double seconds, const std::string& text) {
  TJsonWriter json = Begin("skipped");
  return json.Key("seconds").Real(seconds).Key("text").String(text).EndObject().Text();
}

std::string MessageEvent(const std::string& caption, const std::string& text, const std::string& kind) {
  TJsonWriter json = Begin("message");
  json.Key("caption").String(caption).Key("text").String(text).Key("kind").String(kind);
  return json.EndObject().Text();
}

std::string SoundEvent(const std::string& action, const std::string& path, double offsetMs, uint32_t request) {
  TJsonWriter json = Begin("sound");
  json.Key("action").String(action);
  if (action == "open") json.Key("path").String(path);
  if (action == "play") json.Key("offset").Real(offsetMs).Key("request").Number(request);
  return json.EndObject().Text();
}

std::string LayoutEvent(TkoSize frame, const TkoPicturePlacement& placement) {
  TJsonWriter json = Begin("layout");
  json.Key("width").Number(frame.Width).Key("height").Number(frame.Height);
  json.Key("shownWidth").Number(placement.Shown.Width).Key("shownHeight").Number(placement.Shown.Height);
  json.Key("originX").Number(placement.Origin.X).Key("originY").Number(placement.Origin.Y);
  json.Key("scaling").Bool(placement.Scaling).Key("wholeFactor").Bool(placement.WholeFactor);
  return json.EndObject().Text();
}

std::string LoadingEvent(const std::string& text) { return Begin("loading").Key("text").String(text).EndObject().Text(); }

std::string FullScreenEvent(bool on) { return Begin("fullscreen").Key("on").Bool(on).EndObject().Text(); }

std::string CommandsEvent() {
  TJsonWriter json = Begin("commands");
  json.Key("commands").BeginArray();
  for (const TCommand& command : Commands()) {
    json.BeginObject().Key("name").String(command.Name).Key("id").Number(command.Id);
    json.Key("code").String(PageKeyCode(command.Key.Key)).Key("ctrl").Bool(command.Key.Control);
    json.Key("alt").Bool(command.Key.Alt).Key("shift").Bool(command.Key.Shift);
    json.Key("shortcut").String(ShortcutText(command.Key)).Key("aria").String(ShortcutText(command.Key, TKeyNames::kAria)).EndObject();
  }
  return json.EndArray().EndObject().Text();
}

std::string FirstPictureEvent() { return Begin("firstpicture").EndObject().Text(); }

std::string StateEvent(const TPanelState& state) {
  TJsonWriter json = Begin("state");
  json.Key("play").Number(state.PlayState).Key("segment").Number(state.Segment).Key("frame").Number(state.Frame);
  json.Key("shown").Number(state.Shown);
  json.Key("speed").Number(state.Speed).Key("position").Real(state.Position).Key("total").Real(state.Total);
  json.Key("speedLabel").String(state.SpeedLabel).Key("time").String(state.TimeText).Key("info").String(state.InfoText).Key("title").String(state.Title);
  json.Key("positionText").String(state.PositionText).Key("totalText").String(state.TotalText);
  return json.EndObject().Text();
}

std::string FilmEvent(const TFilmDescription& film) {
  TJsonWriter json = Begin("film");
  json.Key("name").String(film.Name).Key("language").Bool(film.LanguageTable);
  json.Key("segments").BeginArray();
  for (const TSegmentLine& line : film.Segments) {
    json.BeginObject().Key("name").String(line.Name).Key("width").Number(line.Width);
    json.Key("height").Number(line.Height).Key("bits").Number(line.Bits).Key("rate").Number(line.Rate);
    json.Key("frames").Number(line.Frames).Key("sound").Bool(line.Sound).Key("playable").Bool(line.Playable);
    json.EndObject();
  }
  json.EndArray().Key("bar").BeginArray();
  for (const TBarPart& part : film.Bar)
    json.BeginObject().Key("seconds").Real(part.Seconds).Key("segment").Number(part.Segment).EndObject();
  json.EndArray().Key("texts").BeginObject();
  WriteTexts(json, "menu", film.MenuTexts);
  WriteTexts(json, "message", film.MessageTexts);
  WriteTexts(json, "names", film.MenuNames);
  return json.EndObject().EndObject().Text();
}

std::string TextsEvent(const std::vector<TPageText>& menu, const std::vector<TPageText>& message,
                       const std::vector<TPageText>& names) {
  TJsonWriter json = Begin("texts");
  WriteTexts(json, "menu", menu);
  WriteTexts(json, "message", message);
  WriteTexts(json, "names", names);
  return json.EndObject().Text();
}
