#include "Simulator.h"

#include "Pictures.h"
#include "Relay.h"
#include "Tls.h"
#include "catalog/Catalog.h"
#include "net/Control.h"
#include "text/Gbk.h"
#include "text/Text.h"

#include <cstdlib>
#include <httplib.h>

#include <algorithm>
#include <mutex>
#include <random>
#include <regex>
#include <thread>

namespace servicesim {
namespace {

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    for (size_t pos = 0; (pos = text.find(from, pos)) != std::string::npos; pos += to.size())
        text.replace(pos, from.size(), to);
    return text;
}

std::string gbk(std::string_view utf8) { return text::utf8ToGbk(utf8); }

// Percent-decoding of a form value, bytes kept as they are ("+" stays "+": the program escapes
// every byte).
std::string percentDecoded(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
            out += static_cast<char>(std::stoi(std::string(s.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::map<std::string, std::string> formFields(std::string_view body) {
    std::map<std::string, std::string> fields;
    size_t begin = 0;
    while (begin <= body.size()) {
        size_t end = body.find('&', begin);
        if (end == std::string_view::npos)
            end = body.size();
        const std::string_view pair = body.substr(begin, end - begin);
        const size_t equals = pair.find('=');
        if (!pair.empty())
            fields[std::string(pair.substr(0, equals))] =
                equals == std::string_view::npos ? std::string() : std::string(pair.substr(equals + 1));
        begin = end + 1;
    }
    return fields;
}

std::string hostOf(const httplib::Request &request) {
    std::string host = text::asciiLower(request.get_header_value("Host"));
    if (!host.empty() && host.front() != '[')
        host = host.substr(0, host.find(':'));
    return host;
}

std::string cookieValue(const httplib::Request &request, std::string_view name) {
    const std::string cookies = request.get_header_value("Cookie");
    const std::string marker = std::string(name) + "=";
    size_t pos = 0;
    while ((pos = cookies.find(marker, pos)) != std::string::npos) {
        if (pos == 0 || cookies[pos - 1] == ' ' || cookies[pos - 1] == ';') {
            const size_t begin = pos + marker.size();
            return cookies.substr(begin, cookies.find(';', begin) - begin);
        }
        pos += marker.size();
    }
    return {};
}

bool isPictureHost(std::string_view host) {
    return std::find(net::kIqiyiPictureHosts.begin(), net::kIqiyiPictureHosts.end(), host) !=
           net::kIqiyiPictureHosts.end();
}

// Paths of the services that carry an id.
const std::regex kShowPage(R"(/show/([^/]+)\.html)");
const std::regex kSpriteSheet(R"(/0/(\d+)_6_10x10_(\d{1,2})_720\.jpg)");
const std::regex kYoukuPage(R"(/v_show/id_([^/]+)\.html)");
const std::regex kTencentPage(R"(/cover/5/53q0eh78q97e4d1/([^/]+)\.html)");
const std::regex kThumbnail(R"(/image/(\d{8})/.*v_(\w+?)_m_601_160_90\.jpg)");

// Episode numbers of the catalogue's thumbnail addresses (host and path, lower-cased host), so a
// thumbnail shows the episode it belongs to.
const std::map<std::string, int> &thumbnailEpisodes() {
    static const std::map<std::string, int> episodes = [] {
        std::map<std::string, int> byAddress;
        const std::vector<std::string> addresses =
            text::numberedListValues(catalog::compiledList(catalog::TableId::MandarinThumbUrls));
        for (size_t row = 0; row < addresses.size(); ++row) {
            std::string address = addresses[row];
            if (address.rfind("http://", 0) == 0)
                address = address.substr(7);
            const size_t slash = address.find('/');
            byAddress.emplace(text::asciiLower(address.substr(0, slash)) + address.substr(std::min(slash, address.size())),
                              static_cast<int>(row + 1));
        }
        return byAddress;
    }();
    return episodes;
}

std::vector<std::string> certificateNames() {
    std::vector<std::string> names = {"localhost", "sim.test", "*.sim.test"};
    for (std::string_view host : net::serviceHosts())
        names.emplace_back(host);
    return names;
}

} // namespace

const char *faultName(Fault fault) {
    switch (fault) {
    case Fault::None: return "none";
    case Fault::Refuse: return "refuse";
    case Fault::Reset: return "reset";
    case Fault::Stall: return "stall";
    case Fault::StallMidBody: return "stall-mid-body";
    case Fault::ShortBody: return "short-body";
    case Fault::Status404: return "404";
    case Fault::Status500: return "500";
    case Fault::OversizedHeaders: return "oversized-headers";
    case Fault::EmptyBody: return "empty-body";
    }
    return "none";
}

Fault faultFromName(std::string_view name) {
    for (Fault fault : {Fault::Refuse, Fault::Reset, Fault::Stall, Fault::StallMidBody, Fault::ShortBody,
                        Fault::Status404, Fault::Status500, Fault::OversizedHeaders, Fault::EmptyBody}) {
        if (name == faultName(fault))
            return fault;
    }
    return Fault::None;
}

std::string updateFileAddressFor(std::string_view version) {
    return std::string(net::kUpdateFileAddressPrefix) + "lanyingmi-" + std::string(version) + ".exe";
}

std::string spriteIdFor(std::string_view pptvId) {
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (char c : pptvId)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return std::to_string(10000000 + hash % 90000000);
}

std::string updateFileBytes(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t state = 0x2545F491u;
    for (size_t i = 0; i < size; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        bytes[i] = static_cast<char>(state);
    }
    if (size >= 2) { // it is a program file, after all
        bytes[0] = 'M';
        bytes[1] = 'Z';
    }
    return bytes;
}

std::string RecordedRequest::header(std::string_view name) const { return headerIn(headerLines, name); }

int RecordedRequest::headerCount(std::string_view name) const {
    const std::string wanted = text::asciiLower(name);
    int count = 0;
    for (const std::string &line : headerLines) {
        const size_t colon = line.find(':');
        if (colon != std::string::npos && text::asciiLower(text::trimBlanks(line.substr(0, colon))) == wanted)
            ++count;
    }
    return count;
}

struct Simulator::State {
    Options options;
    mutable std::mutex mutex; // guards everything below up to the server
    Scenario scenario;
    std::map<std::string, Fault> faults;
    std::map<std::string, std::size_t> throttles;
    std::map<std::string, CannedResponse> canned; // by host + " " + path
    std::vector<RecordedRequest> requests;
    std::vector<FeedbackPost> feedback;
    int visits = 0;
    std::set<std::string> sessions;
    std::map<int, std::string> sheets;                     // sprite sheet pictures by number
    std::pair<std::size_t, std::shared_ptr<const std::string>> updateFile;
    std::mt19937 random{std::random_device{}()};

    httplib::Server server;
    std::thread serverThread;
    int upstreamPort = 0;
    std::unique_ptr<TlsIdentity> tls;
    std::unique_ptr<Relay> plain;
    std::unique_ptr<Relay> secure;
    bool running = false;

    Fault faultFor(const std::string &host) const {
        std::lock_guard lock(mutex);
        const auto it = faults.find(host);
        return it == faults.end() ? Fault::None : it->second;
    }
    Scenario currentScenario() const {
        std::lock_guard lock(mutex);
        return scenario;
    }

    void handle(const httplib::Request &request, httplib::Response &response);
    void notePage(httplib::Response &response);
    void boardContent(const httplib::Request &request, httplib::Response &response);
    void thumbnail(const std::string &host, const httplib::Request &request, httplib::Response &response);
    std::string sheet(int number);
    std::shared_ptr<const std::string> updateBytes(std::size_t size);
};

void Simulator::State::handle(const httplib::Request &request, httplib::Response &response) {
    const std::string host = hostOf(request);
    {
        std::lock_guard lock(mutex);
        const auto it = canned.find(host + " " + request.path);
        if (it != canned.end()) {
            response.status = it->second.status;
            for (const auto &[name, value] : it->second.headers)
                response.headers.emplace(name, value);
            if (it->second.chunked) {
                auto body = std::make_shared<const std::string>(it->second.body);
                response.set_chunked_content_provider(it->second.contentType.c_str(),
                                                      [body](size_t offset, httplib::DataSink &sink) {
                                                          if (offset < body->size())
                                                              sink.write(body->data() + offset, body->size() - offset);
                                                          else
                                                              sink.done();
                                                          return true;
                                                      });
            } else {
                response.set_content(it->second.body, it->second.contentType.c_str());
            }
            return;
        }
    }
    const Scenario scene = currentScenario();
    std::smatch match;
    const std::string &path = request.path;

    if (host == net::kNoteHost && path == net::kNotePagePath) {
        notePage(response);
    } else if (host == net::kBoardHomeHost) {
        response.set_content(
            gbk("<html><head><meta charset=\"gb2312\"><title>岚影迷的留言板</title></head><body><h1>岚影迷</h1>"
                "<a href=\"http://") +
                std::string(net::kBoardContentHost) + "/Ccenter.aspx?z=" + scene.boardCode + gbk("\">进入留言板</a></body></html>"),
            "text/html; charset=gb2312");
    } else if (host == net::kBoardContentHost && path == "/Ccenter.aspx") {
        boardContent(request, response);
    } else if (host == net::kBoardContentHost && path == "/sjzx/ys_vf_img.aspx") {
        response.set_content(captchaJpeg(scene.captchaText), "image/jpeg");
    } else if (host == net::kCounterHost && path == "/stat.htm") {
        {
            std::lock_guard lock(mutex);
            ++visits;
        }
        response.set_content("document.write('');", "text/html");
    } else if (isPictureHost(host)) {
        thumbnail(host, request, response);
    } else if (host == net::kPptvPageHost && std::regex_match(path, match, kShowPage)) {
        const std::string id = match[1];
        const auto it = scene.durations.find(id);
        const int duration = it == scene.durations.end() ? scene.defaultDuration : it->second;
        std::string page = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>名侦探岚影 - PPTV</title>"
                           "</head><body><div id=\"player\"></div><script>var webcfg = {\"id\":" +
                           spriteIdFor(id) + ",\"title\":\"名侦探岚影\",";
        if (duration >= 0)
            page += "\"duration\":" + std::to_string(duration) + ",";
        page += "\"pl\":\"" + id + "\"};</script></body></html>";
        response.set_content(page, "text/html; charset=utf-8");
    } else if (host == net::kPptvImageHost &&
               std::regex_match(path, match, kSpriteSheet)) {
        const int number = std::stoi(match[2]);
        if (number > 9 || scene.missingSpriteSheets.count(number)) {
            response.status = 404;
            response.set_content("<html><body>404 Not Found</body></html>", "text/html");
        } else {
            response.set_content(sheet(number), "image/jpeg");
        }
    } else if ((host == net::kPlayerHost && (path == "/sohu_20140917.swf" || path == "/20150110_letv.swf")) ||
               (host == net::kIqiyiPlayerHost && path == "/player/20140730103714/Player.swf")) {
        std::string swf = "FWS";
        swf += '\x0A';
        swf += std::string("\x15\x00\x00\x00\x78\x00\x05\x5F\x00\x00\x0F\xA0\x00\x00\x18\x01\x00\x40\x00\x00\x00", 21);
        response.set_content(swf, "application/x-shockwave-flash");
    } else if (host == net::kYoukuHost && std::regex_match(path, match, kYoukuPage)) {
        response.set_content("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>优酷视频</title></head>"
                             "<body><h1>优酷 剧场版</h1><p>视频 " + std::string(match[1]) + "</p></body></html>",
                             "text/html; charset=utf-8");
    } else if (host == net::kTencentHost &&
               std::regex_match(path, match, kTencentPage)) {
        response.set_content("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>腾讯视频</title></head>"
                             "<body><h1>腾讯视频 名侦探岚影</h1><p>视频 " + std::string(match[1]) + "</p></body></html>",
                             "text/html; charset=utf-8");
    } else if (host == net::kUpdateFileHost && path.rfind("/release/", 0) == 0) {
        const auto bytes = updateBytes(scene.updateFileSize);
        response.set_content_provider(bytes->size(), "application/octet-stream",
                                      [bytes](size_t offset, size_t length, httplib::DataSink &sink) {
                                          return sink.write(bytes->data() + offset,
                                                            std::min<size_t>(length, 65536));
                                      });
    } else {
        response.status = 404;
        response.set_content("<html><body><h1>404 Not Found</h1><p>No such service here.</p></body></html>",
                             "text/html");
    }
}

void Simulator::State::notePage(httplib::Response &response) {
    const Scenario scene = currentScenario();
    // The page markup the note service writes: lines become paragraphs, "&" an entity.
    auto markup = [](std::string text) {
        text = replaceAll(std::move(text), "&", "&amp;");
        return replaceAll(std::move(text), "\r\n", "</p><p>");
    };
    std::string page = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>岚影迷 - 云笔记</title></head>"
                       "<body><div class=\"note-content\"><p>";
    if (scene.noteHasFields) {
        page += "版本=[" + markup(scene.version) + "];</p><p>";
        page += "公告=[" + markup(scene.announcement) + "];</p><p>";
        page += "更新说明=[" + markup(scene.updateDescription) + "];</p><p>";
        page += "最新集数=【";
        for (const NewEpisode &episode : scene.newlyAired)
            page += "[" + std::to_string(episode.number) + "|" + markup(episode.title) + "|" + episode.sohuId + "]";
        page += "】";
    } else {
        page += "这里什么也没有。";
    }
    page += "</p></div></body></html>";
    response.set_content(page, "text/html; charset=utf-8");
}

void Simulator::State::boardContent(const httplib::Request &request, httplib::Response &response) {
    const Scenario scene = currentScenario();
    const std::string code = request.has_param("z") ? request.get_param_value("z") : std::string();
    const std::string session = cookieValue(request, "ASP.NET_SessionId");
    bool knownSession;
    {
        std::lock_guard lock(mutex);
        knownSession = !session.empty() && sessions.count(session) > 0;
    }
    if (code != scene.boardCode) {
        response.set_content(gbk("<html><body><p>留言板不存在。</p></body></html>"), "text/html; charset=gb2312");
        return;
    }
    if (request.method == "GET" || request.method == "HEAD") {
        static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz012345";
        std::string id;
        {
            std::lock_guard lock(mutex);
            for (int i = 0; i < 24; ++i)
                id += kAlphabet[random() % 32];
            sessions.insert(id);
        }
        response.headers.emplace("Set-Cookie", "ASP.NET_SessionId=" + id + "; path=/; HttpOnly");
        response.headers.emplace("Set-Cookie", "lyb_z=" + code + "; path=/");
        response.set_content(gbk("<html><head><title>岚影迷的留言板</title></head><body><h1>留言板</h1>"
                                 "<form method=\"post\"></form></body></html>"),
                             "text/html; charset=gb2312");
        return;
    }

    std::map<std::string, std::string> form = formFields(request.body);
    if (form["Yz0"] == "dq") {
        if (!knownSession) {
            response.set_content(gbk("<html><body><p>会话已过期，请刷新页面。</p></body></html>"),
                                 "text/html; charset=gb2312");
            return;
        }
        std::vector<BoardEntry> entries = scene.boardEntries;
        if (std::none_of(entries.begin(), entries.end(), [&](const BoardEntry &e) { return e.title == scene.version; }))
            entries.push_back({scene.version, updateFileAddressFor(scene.version)});
        std::string page = gbk("<html><head><title>留言列表</title></head><body><ul class=\"list\">\r\n");
        for (const BoardEntry &entry : entries) {
            page += gbk("<li><font>" + entry.title + "</font><span>岚影迷 " + entry.title +
                        " 版发布</span><a href='http://") +
                    std::string(net::kBoardContentHost) + "/note/fd.htm?" + entry.fileAddress +
                    gbk("' target='_blank'>下载</a></li>\r\n");
        }
        page += "</ul></body></html>";
        response.set_content(page, "text/html; charset=gb2312");
        return;
    }
    if (form["Yz0"] == "lytj") {
        FeedbackPost post;
        post.nickname = percentDecoded(form["Yz2"]);
        post.content = percentDecoded(form["Yz3"]);
        post.captcha = form["Yz4"];
        post.accepted = knownSession && text::asciiLower(post.captcha) == text::asciiLower(scene.captchaText);
        {
            std::lock_guard lock(mutex);
            feedback.push_back(post);
        }
        if (post.accepted) {
            response.set_content(gbk("<html><body><div class=\"ly\"><b>") + post.nickname + gbk("</b><p>") +
                                     post.content + gbk("</p></div><script>alert('留言成功！');</script></body></html>"),
                                 "text/html; charset=gb2312");
        } else {
            response.set_content(gbk("<html><body><script>alert('验证码不正确,请重新输入');history.back();"
                                     "</script></body></html>"),
                                 "text/html; charset=gb2312");
        }
        return;
    }
    response.set_content(gbk("<html><body><p>参数错误。</p></body></html>"), "text/html; charset=gb2312");
}

void Simulator::State::thumbnail(const std::string &host, const httplib::Request &request,
                                 httplib::Response &response) {
    std::smatch match;
    if (!std::regex_match(request.path, match, kThumbnail)) {
        response.status = 404;
        response.set_content("<html><body>404 Not Found</body></html>", "text/html");
        return;
    }
    const std::string digits = match[2];
    const auto &episodes = thumbnailEpisodes();
    const auto episode = episodes.find(host + request.path);
    if (episode != episodes.end()) {
        response.set_content(thumbnailJpeg("第" + std::to_string(episode->second) + "集", "v_" + digits,
                                           episode->second),
                             "image/jpeg");
    } else {
        const int seed = static_cast<int>(std::hash<std::string>{}(digits) % 1000);
        response.set_content(thumbnailJpeg(digits, host.substr(0, host.find('.')) + " " + std::string(match[1]), seed),
                             "image/jpeg");
    }
}

std::string Simulator::State::sheet(int number) {
    {
        std::lock_guard lock(mutex);
        const auto it = sheets.find(number);
        if (it != sheets.end())
            return it->second;
    }
    std::string picture = spriteSheetJpeg(number);
    std::lock_guard lock(mutex);
    sheets.emplace(number, picture);
    return picture;
}

std::shared_ptr<const std::string> Simulator::State::updateBytes(std::size_t size) {
    std::lock_guard lock(mutex);
    if (!updateFile.second || updateFile.first != size)
        updateFile = {size, std::make_shared<const std::string>(updateFileBytes(size))};
    return updateFile.second;
}

Simulator::Simulator() : Simulator(Options{}) {}

Simulator::Simulator(Options options) : state_(std::make_unique<State>()) { state_->options = std::move(options); }

Simulator::~Simulator() { stop(); }

bool Simulator::start() {
    State &s = *state_;
    if (s.running)
        return true;
    if (s.upstreamPort != 0) // a stopped simulator is not started again
        return false;
    // One request per connection, so that the relay in front sees every request head whole.
    s.server.set_keep_alive_max_count(1);
    s.server.set_read_timeout(5, 0);
    s.server.set_write_timeout(5, 0);
    auto handler = [&s](const httplib::Request &request, httplib::Response &response) { s.handle(request, response); };
    s.server.Get(".*", handler);
    s.server.Post(".*", handler);
    s.server.Put(".*", handler);
    s.server.Delete(".*", handler);
    s.server.Options(".*", handler);
    s.server.set_pre_routing_handler([&s](const httplib::Request &request, httplib::Response &response) {
        const Fault fault = s.faultFor(hostOf(request));
        if (fault == Fault::Status404 || fault == Fault::Status500) {
            response.status = fault == Fault::Status404 ? 404 : 500;
            response.set_content(fault == Fault::Status404
                                     ? "<html><body><h1>404 Not Found</h1></body></html>"
                                     : "<html><body><h1>500 Internal Server Error</h1></body></html>",
                                 "text/html");
            return httplib::Server::HandlerResponse::Handled;
        }
        if (fault == Fault::EmptyBody) {
            response.status = 200;
            response.set_header("Content-Length", "0");
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    s.server.set_post_routing_handler([&s](const httplib::Request &request, httplib::Response &response) {
        if (s.faultFor(hostOf(request)) != Fault::OversizedHeaders)
            return;
        response.headers.emplace("Set-Cookie", "padding=1; path=/");
        for (int i = 0; i < 90; ++i)
            response.headers.emplace("X-Padding-" + std::to_string(100 + i), std::string(90, 'p'));
    });
    s.upstreamPort = s.server.bind_to_any_port("127.0.0.1");
    if (s.upstreamPort <= 0)
        return false;
    s.serverThread = std::thread([&s] { s.server.listen_after_bind(); });
    while (!s.server.is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));

    auto recorder = [&s](RecordedRequest request) {
        std::lock_guard lock(s.mutex);
        s.requests.push_back(std::move(request));
    };
    auto planner = [&s](const std::string &host) {
        std::lock_guard lock(s.mutex);
        ConnectionPlan plan;
        if (const auto it = s.faults.find(host); it != s.faults.end())
            plan.fault = it->second;
        if (const auto it = s.throttles.find(host); it != s.throttles.end())
            plan.bytesPerSecond = it->second;
        return plan;
    };
    s.plain = std::make_unique<Relay>(recorder, planner, s.upstreamPort, nullptr);
    bool ok = s.plain->listen(s.options.address, s.options.port);
    if (ok && s.options.tls) {
        s.tls = TlsIdentity::create(certificateNames());
        ok = s.tls != nullptr;
        if (ok) {
            s.secure = std::make_unique<Relay>(recorder, planner, s.upstreamPort, s.tls->context());
            ok = s.secure->listen(s.options.address, 0);
        }
    }
    s.running = true;
    if (!ok)
        stop();
    return ok;
}

void Simulator::stop() {
    State &s = *state_;
    if (!s.running)
        return;
    if (s.plain)
        s.plain->stop();
    if (s.secure)
        s.secure->stop();
    s.server.stop();
    if (s.serverThread.joinable())
        s.serverThread.join();
    s.plain.reset();
    s.secure.reset();
    s.running = false;
}

int Simulator::port() const { return state_->plain ? state_->plain->port() : 0; }
int Simulator::tlsPort() const { return state_->secure ? state_->secure->port() : 0; }
std::string Simulator::certificatePem() const { return state_->tls ? state_->tls->certificatePem() : std::string(); }

std::vector<net::Route> Simulator::routes() const {
    std::vector<net::Route> table;
    if (tlsPort() > 0)
        table.push_back({"", 443, "127.0.0.1", tlsPort()});
    table.push_back({"", 0, "127.0.0.1", port()});
    return table;
}

void Simulator::routeAllHosts() const {
    net::setRoutes(routes());
    net::testing::setCertificateAuthority(certificatePem());
}

void Simulator::setScenario(Scenario scenario) {
    std::lock_guard lock(state_->mutex);
    state_->scenario = std::move(scenario);
}

Scenario Simulator::scenario() const { return state_->currentScenario(); }

void Simulator::setFault(std::string_view host, Fault fault) {
    std::lock_guard lock(state_->mutex);
    if (fault == Fault::None)
        state_->faults.erase(text::asciiLower(host));
    else
        state_->faults[text::asciiLower(host)] = fault;
}

Fault Simulator::fault(std::string_view host) const { return state_->faultFor(text::asciiLower(host)); }

void Simulator::clearFaults() {
    std::lock_guard lock(state_->mutex);
    state_->faults.clear();
    state_->throttles.clear();
}

void Simulator::setThrottle(std::string_view host, std::size_t bytesPerSecond) {
    std::lock_guard lock(state_->mutex);
    if (bytesPerSecond == 0)
        state_->throttles.erase(text::asciiLower(host));
    else
        state_->throttles[text::asciiLower(host)] = bytesPerSecond;
}

void Simulator::setResponse(std::string_view host, std::string_view path, CannedResponse response) {
    std::lock_guard lock(state_->mutex);
    state_->canned[text::asciiLower(host) + " " + std::string(path)] = std::move(response);
}

void Simulator::clearResponses() {
    std::lock_guard lock(state_->mutex);
    state_->canned.clear();
}

std::vector<RecordedRequest> Simulator::requests() const {
    std::lock_guard lock(state_->mutex);
    return state_->requests;
}

std::vector<RecordedRequest> Simulator::requestsTo(std::string_view host) const {
    std::vector<RecordedRequest> matching;
    for (RecordedRequest &request : requests()) {
        if (request.host == text::asciiLower(host))
            matching.push_back(std::move(request));
    }
    return matching;
}

void Simulator::clearRequests() {
    std::lock_guard lock(state_->mutex);
    state_->requests.clear();
    state_->feedback.clear();
    state_->visits = 0;
}

std::vector<FeedbackPost> Simulator::feedbackPosts() const {
    std::lock_guard lock(state_->mutex);
    return state_->feedback;
}

int Simulator::counterVisits() const {
    std::lock_guard lock(state_->mutex);
    return state_->visits;
}

void Simulator::resetForTest() {
    clearFaults();
    clearResponses();
    setScenario({});
    clearRequests();
    routeAllHosts();
}

namespace {
Simulator *g_shared = nullptr;
} // namespace

Simulator &sharedSimulator() {
    if (!g_shared) {
        g_shared = new Simulator;
        if (!g_shared->start())
            std::abort();
    }
    return *g_shared;
}

void stopSharedSimulator() {
    if (g_shared)
        g_shared->stop();
    delete g_shared;
    g_shared = nullptr;
}

} // namespace servicesim
