#include "ClassroomLoad.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "LoopbackGet.h"

namespace kestrel::service::load {

namespace {

using Clock = std::chrono::steady_clock;

std::string StudentName(int index) {
  char name[16];
  std::snprintf(name, sizeof name, "s%03d", index + 1);
  return name;
}

struct Record {
  int state = 0;
  std::string day;
  long long lots = 0, result = 0;
};

// "name,state,date,lots,result|" records.
std::map<std::string, Record> ParseClass(const std::string& list) {
  std::map<std::string, Record> records;
  size_t start = 0;
  for (size_t bar; (bar = list.find('|', start)) != std::string::npos; start = bar + 1) {
    const std::string text = list.substr(start, bar - start);
    std::vector<std::string> fields;
    size_t from = 0;
    for (size_t comma; (comma = text.find(',', from)) != std::string::npos; from = comma + 1)
      fields.push_back(text.substr(from, comma - from));
    fields.push_back(text.substr(from));
    if (fields.size() != 5) continue;
    Record record;
    record.state = std::atoi(fields[1].c_str());
    record.day = fields[2];
    record.lots = std::atoll(fields[3].c_str());
    record.result = std::atoll(fields[4].c_str());
    records[fields[0]] = record;
  }
  return records;
}

std::string BookName(const std::string& day) {
  char name[32];
  std::snprintf(name, sizeof name, "TICK_%03d_%s_%s.zip",
                std::atoi(day.substr(0, 4).c_str()) - 1911, day.substr(5, 2).c_str(),
                day.substr(8, 2).c_str());
  return name;
}

std::string Underscored(std::string day) {
  std::replace(day.begin(), day.end(), '/', '_');
  return day;
}

// Shared between the instructor and the students.
struct Classroom {
  explicit Classroom(const LoadOptions& o) : options(o) {}
  const LoadOptions& options;
  std::atomic<bool> stop{false};
  std::atomic<int64_t> requests{0};
  std::atomic<int> phase{kJoining};
  std::mutex finalsMutex;
  std::map<std::string, std::pair<long long, long long>> finals;  // last lots and result reported
  Clock::time_point deadline;
};

// One client: a fresh connection per request, as the trainer's fetches are.
class Client {
 public:
  Client(Classroom& room, Tally& tally) : room_(room), tally_(tally) {}

  std::string Page(const std::string& target) { return Fetch(target, false).second; }
  // The body size, or -1.
  int64_t File(const std::string& target) {
    const int64_t before = tally_.downloadedBytes;
    const int status = Fetch(target, true).first;
    return status == 200 ? tally_.downloadedBytes - before : -1;
  }
  void Error(const std::string& what) {
    ++tally_.errors;
    if (tally_.errorSamples.size() < 5) tally_.errorSamples.push_back(what);
  }
  bool Stopped() const {
    return room_.stop || Clock::now() > room_.deadline ||
           room_.requests >= room_.options.requestLimit;
  }

 private:
  std::pair<int, std::string> Fetch(const std::string& target, bool file) {
    ++room_.requests;
    const int phase = room_.phase;
    const auto start = Clock::now();
    GetResult result = LoopbackGet(room_.options.port, target, !file);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    (file ? tally_.downloadMs : tally_.pageMs).push_back(ms);
    if (!file) tally_.pagePhaseMs[phase].push_back(ms);
    if (!result.ok) {
      Error("no answer to " + target);
      return {0, {}};
    }
    if (file && result.status == 200) tally_.downloadedBytes += result.bodyLength;
    if (!file && result.status != 200) Error(std::to_string(result.status) + " for " + target);
    return {result.status, std::move(result.body)};
  }

  Classroom& room_;
  Tally& tally_;
};

void RunStudent(Classroom& room, int index, Tally& tally) {
  Client client(room, tally);
  std::mt19937 random(static_cast<unsigned>(index));
  // Students arrive over a second or so, not all in the same millisecond.
  std::this_thread::sleep_for(room.options.pollInterval * 10 * (random() % 1000) / 1000);
  const std::string id = StudentName(index);
  const std::string account = "?id=" + id + "&pwd=student";
  const std::string code = std::to_string(100000 + index);
  if (client.Page("/net_Login_Future.php" + account + "&code=") != "3" ||
      client.Page("/net_WriteValidCode_Future.php" + account + "&code=" + code) != "OK" ||
      client.Page("/net_StudentInOut.asp" + account + "&mode=in") != "OK") {
    client.Error(id + " could not join the class");
    return;
  }
  std::set<std::string> klines;  // days whose K-line files this student already has
  int state = 1;
  long long lots = 0, result = 0;
  auto next =
      Clock::now() + std::chrono::milliseconds(random() % room.options.pollInterval.count());
  while (!client.Stopped()) {
    std::this_thread::sleep_until(next);
    next = std::max(next + room.options.pollInterval, Clock::now());
    if (state == 1 || state == 5) {
      const std::string reply = client.Page("/net_StudentS1.asp" + account);
      if (reply.size() != 10) {
        if (reply != "1" && reply != "5") client.Error(id + " S1 answered " + reply);
        continue;
      }
      // The download of the assigned day, as the download dialog runs it, with
      // the dialog's fixed waits (without them every student fetches at once).
      const auto pause = [&](int ms) {
        if (room.options.clientWaits) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
      };
      pause(200);
      const std::string name =
          client.Page("/net_GetFileName_Future.php" + account + "&SelDate=" + reply);
      if (name.find(".zip") == std::string::npos || client.File("/DATA/" + name) < 50000) {
        client.Error(id + " could not download " + reply);
        continue;
      }
      pause(400);
      const std::string dates = client.Page("/net_GetFileDate_Future.php" + account +
                                            "&SelDate=" + reply + "&SelDays=15");
      for (size_t from = 0, comma; (comma = dates.find(',', from)) != std::string::npos;
           from = comma + 1) {
        const std::string day = dates.substr(from, comma - from);
        if (!klines.insert(day).second) continue;
        if (client.File("/DATA/K_" + Underscored(day) + ".zip") < 0)
          client.Error(id + " missing K-line archive of " + day);
        pause(150);
      }
      pause(200);
      if (client.File("/TICKDATA/" + BookName(reply)) < 0) client.Error(id + " missing book");
      pause(100);
      if (client.Page("/net_StudentS1END.asp" + account) != "")
        client.Error(id + " S1END");
      else
        state = 2;
    } else if (state == 2) {
      const std::string reply = client.Page("/net_StudentS2.asp" + account);
      if (reply == "3") {
        if (client.Page("/net_StudentS2END.asp" + account) != "") client.Error(id + " S2END");
        state = 3;
        lots = result = 0;
      } else if (reply != "2") {
        client.Error(id + " S2 answered " + reply);
      }
    } else {
      // Trading: the figures move a little between polls.
      if (random() % 3 == 0) {
        lots += 1 + random() % 2;
        result += static_cast<long long>(random() % 2001) - 1000;
      }
      const std::string reply =
          client.Page("/net_StudentS3.asp" + account + "&dealLot=" + std::to_string(lots) +
                      "&TotalLoss=" + std::to_string(result));
      if (reply == "4") {
        {
          std::lock_guard lock(room.finalsMutex);
          room.finals[id] = {lots, result};
        }
        if (client.Page("/net_StudentS3END.asp" + account) != "") client.Error(id + " S3END");
        state = 5;
      } else if (reply != "3") {
        client.Error(id + " S3 answered " + reply);
      }
    }
  }
  client.Page("/net_StudentInOut.asp" + account + "&mode=out");
  client.Page("/net_Logout_Future.php" + account);
}

void RunInstructor(Classroom& room, Tally& tally, LoadReport& report) {
  Client client(room, tally);
  const std::string account = "?id=teacher&pwd=teacher";
  const int students = room.options.students;
  if (client.Page("/net_Login_Future.php" + account + "&code=") != "3") {
    client.Error("the instructor could not log in");
    room.stop = true;
    return;
  }
  // Polls the class list until every student is in `state`; false when stopped.
  auto waitFor = [&](int state, std::map<std::string, Record>* last) {
    while (!client.Stopped()) {
      std::this_thread::sleep_for(room.options.pollInterval);
      const auto records = ParseClass(client.Page("/net_MasterRead.asp" + account + "&sort=1"));
      const bool all = static_cast<int>(records.size()) == students &&
                       std::all_of(records.begin(), records.end(),
                                   [&](const auto& r) { return r.second.state == state; });
      if (all) {
        if (last != nullptr) *last = records;
        return true;
      }
    }
    return false;
  };
  // The instructor starts once the whole class has entered.
  if (!waitFor(1, nullptr)) {
    room.stop = true;
    return;
  }
  for (const std::string& day : room.options.lessonDays) {
    room.phase = kAssigned;
    if (client.Page("/net_MasterSelDate.asp" + account + "&theDate=" + day) != "") {
      client.Error("assigning " + day + " failed");
      break;
    }
    if (!waitFor(2, nullptr)) break;
    room.phase = kOpening;
    if (client.Page("/net_MasterOpen.asp" + account) != "") client.Error("open failed");
    if (!waitFor(3, nullptr)) break;
    room.phase = kTrading;
    const auto closeAt = Clock::now() + room.options.tradingTime;
    while (Clock::now() < closeAt && !client.Stopped()) {
      std::this_thread::sleep_for(room.options.pollInterval);
      client.Page("/net_MasterRead.asp" + account + "&sort=0");
    }
    room.phase = kClosing;
    if (client.Page("/net_MasterClose.asp" + account) != "") client.Error("close failed");
    std::map<std::string, Record> records;
    if (!waitFor(5, &records)) break;
    std::lock_guard lock(room.finalsMutex);
    for (int i = 0; i < students; ++i) {
      const std::string id = StudentName(i);
      const auto reported = room.finals.find(id);
      const auto listed = records.find(id);
      if (reported == room.finals.end() || listed == records.end() || listed->second.day != day ||
          listed->second.lots != reported->second.first ||
          listed->second.result != reported->second.second)
        ++report.lostResults;
    }
    room.finals.clear();
    ++report.lessonsCompleted;
  }
  room.stop = true;
}

double Percentile(std::vector<double>& values, double fraction) {
  if (values.empty()) return 0;
  const size_t index = std::min(values.size() - 1, static_cast<size_t>(fraction * values.size()));
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(index),
                   values.end());
  return values[index];
}

}  // namespace

LoadReport RunClassroom(const LoadOptions& options) {
  LoadReport report;
  Classroom room(options);
  room.deadline = Clock::now() + options.timeLimit;
  std::vector<Tally> tallies(static_cast<size_t>(options.students) + 1);
  const auto start = Clock::now();
  std::vector<std::thread> threads;
  for (int i = 0; i < options.students; ++i)
    threads.emplace_back(RunStudent, std::ref(room), i, std::ref(tallies[static_cast<size_t>(i)]));
  RunInstructor(room, tallies.back(), report);
  for (std::thread& t : threads) t.join();
  report.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  report.timedOut = Clock::now() > room.deadline;

  std::vector<double> pages, downloads, phases[kPhaseCount];
  for (Tally& t : tallies) {
    for (int p = 0; p < kPhaseCount; ++p)
      phases[p].insert(phases[p].end(), t.pagePhaseMs[p].begin(), t.pagePhaseMs[p].end());
    pages.insert(pages.end(), t.pageMs.begin(), t.pageMs.end());
    downloads.insert(downloads.end(), t.downloadMs.begin(), t.downloadMs.end());
    report.downloadedBytes += t.downloadedBytes;
    report.errors += t.errors;
    for (const std::string& e : t.errorSamples)
      if (report.errorSamples.size() < 10) report.errorSamples.push_back(e);
  }
  report.pages = static_cast<int64_t>(pages.size());
  report.downloads = static_cast<int64_t>(downloads.size());
  report.requests = report.pages + report.downloads;
  report.pageP50 = Percentile(pages, 0.50);
  report.pageP99 = Percentile(pages, 0.99);
  report.pageMax = pages.empty() ? 0 : *std::max_element(pages.begin(), pages.end());
  for (int p = 0; p < kPhaseCount; ++p) {
    report.phasePages[p] = static_cast<int64_t>(phases[p].size());
    report.phaseP50[p] = Percentile(phases[p], 0.50);
    report.phaseP99[p] = Percentile(phases[p], 0.99);
  }
  report.downloadP50 = Percentile(downloads, 0.50);
  report.downloadP99 = Percentile(downloads, 0.99);
  return report;
}

}  // namespace kestrel::service::load
