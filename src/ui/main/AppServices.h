#pragma once
// What the main window and start-up need of the program's shared state: the
// two worker flags, the list of dictionaries, whether the radical table was
// loaded, and the study list with its file. The program passes the one over
// its search state (AppWiring.h); LocalServices keeps its own flags and list
// and records the study list commands (tests).
//
// Threads: user-interface thread only; the worker flags may be written by the
// worker, and are read here without locking.

#include <string>
#include <vector>

namespace mirudex::ui {

class AppServices {
public:
    virtual ~AppServices() = default;

    // thread_searching: a worker (search or load) exists.
    virtual bool ThreadSearching() const = 0;
    // SEARCH_LOCK: the search command is running.
    virtual bool SearchLock() const = 0;

    virtual int DictionaryCount() const = 0;
    // The description the user gave the dictionary (its Name option).
    virtual std::u16string DictionaryName(int index) const = 0;
    virtual bool DictionaryOn(int index) const = 0;
    virtual void SetDictionaryOn(int index, bool on) = 0;

    virtual bool RadicalsLoaded() const = 0;

    // The study list (its pane shows it) and its file, .\StudyList\File.
    virtual int StudyListCount() const = 0;
    // File menu commands with the path the user chose.
    virtual void OpenStudyList(const std::string& chosenPath) = 0;
    virtual void ImportStudyList(const std::string& chosenPath) = 0;
    virtual void SaveStudyList() = 0;
    virtual void SaveStudyListAs(const std::string& chosenPath) = 0;
    virtual void CloseStudyList() = 0;
    // Start-up (status texts included) and exit (a list without a file gets
    // "studylist.default").
    virtual void LoadStudyListAtStartup() = 0;
    virtual void SaveStudyListAtExit(bool shown) = 0;
};

class LocalServices : public AppServices {
public:
    struct Dictionary {
        std::u16string name;
        bool on = true;
    };

    bool ThreadSearching() const override { return threadSearching; }
    bool SearchLock() const override { return searchLock; }
    int DictionaryCount() const override { return static_cast<int>(dictionaries.size()); }
    std::u16string DictionaryName(int index) const override { return dictionaries[index].name; }
    bool DictionaryOn(int index) const override { return dictionaries[index].on; }
    void SetDictionaryOn(int index, bool on) override { dictionaries[index].on = on; }
    bool RadicalsLoaded() const override { return radicalsLoaded; }
    int StudyListCount() const override { return studyListCount; }
    void OpenStudyList(const std::string& path) override { studyListCalls.push_back("open " + path); }
    void ImportStudyList(const std::string& path) override { studyListCalls.push_back("import " + path); }
    void SaveStudyList() override { studyListCalls.push_back("save"); }
    void SaveStudyListAs(const std::string& path) override { studyListCalls.push_back("save as " + path); }
    void CloseStudyList() override
    {
        studyListCalls.push_back("close");
        studyListCount = 0;
    }
    void LoadStudyListAtStartup() override { studyListCalls.push_back("load at start-up"); }
    void SaveStudyListAtExit(bool shown) override
    {
        studyListCalls.push_back(shown ? "save at exit, shown" : "save at exit, hidden");
    }

    bool threadSearching = false;
    bool searchLock = false;
    bool radicalsLoaded = false;
    std::vector<Dictionary> dictionaries;
    int studyListCount = 0;
    std::vector<std::string> studyListCalls;
};

}  // namespace mirudex::ui
