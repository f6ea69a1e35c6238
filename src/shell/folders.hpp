// Folders: the terminal's folder list (table 50), the current data folder,
// looking for a taxpayer in the other folders, creating folders on demand,
// and the two settings screens for the working folder and the official
// program's folder.
//
// Path texts (pure, program paths with "\" separators)
//   BAR_DIR(p)   p with a final "\"          BAR_FORA(p)  without it
//   BAR_ESQ(p)   p with a leading "\"        TIRA_DIR(p)  the part after the last "\"
//   VERDIR(p)    the folder exists (a final "\" ignored except in "C:\")
//   CONFER_DIR(p)  VERDIR, telling "<Dir> " + p + "não encontrado. Assumindo
//                o padrão!" on the status line when it is missing
//   ESPCIF(p)    the second character is ":" ("Especifique o drive com ':'
//                após a letra" otherwise)
//
// Folder texts keep the case the operator typed (the file system tells
// cases apart) and are compared exactly; lists hold them without a final
// "\", LOCARQ / LOCTRAB with one.
//
// FolderRoutines works on one run's screen, tables and globals:
//   TROCASIM(1)  the folder list's current entry becomes the data folder:
//                the folder is made sure of first (CRI_NDIR " TX2014"; a
//                refusal changes nothing), then every other "S" becomes "N"
//                and this entry "S" (record locks of five seconds; a lock
//                refused abandons the switch), the tables of the folder are
//                upgraded, ROTADOANO / LOCARQ follow, MUDADIR(LOCARQ), and
//                ROTADOANO goes to the terminal's configuration record.
//                Other modes only reopen the register of LOCARQ.
//   MUDADIR(f)   the register IMP0914 of folder f in area 9 (f created on
//                demand), positioned on g.CPF (NOMECONTR taken from it) or on
//                the first record; the name order is left current
//   BUSCA_OUTRO(value, variable, order, mode)  the other folders of the list
//                (in the list's order; the current one, unreachable ones and
//                those without IMP0914 are passed over, never removed) are
//                searched for value: order 1 a CPF, order 2 a name prefix;
//                only a real match counts. Found: with mode 1 the register's
//                CPF or name goes into value and its name into NOMECONTR; the
//                folder becomes current (for the spouse's CPF, variable
//                "M->CPFCONJU", only its register is opened); true. Not found:
//                the current folder's register again, mode 1 blanks
//                NOMECONTR, CPF order; false.
//   CRI_NDIR(f, label)  true when the folder exists or, after "Pasta nova
//                para" + label + "?" / "Cria a nova pasta?" answered yes, was
//                created (every level); "Problemas ao criar a pasta " + f
//                and false when it could not be
//   add_folder(f)  appends an entry to the list (not current; kept as typed)
//   valid_folder_name(f)  the folder list editor's check of a name: not
//                empty ("É necessário preencher o nome da Pasta"), existing or
//                created (CRI_NDIR " TX2014")
//   SELAREA(1)   the working folder: DIRTRAB, LOCTRAB, config "dirtrab"
//   SELAREA(2)   the official program's folder: ROTAJAVA, LOCIRPF, config
//                "ROTAJAVA"; an empty entry means no transfer (LOCIRPF ""),
//                never the root
#pragma once

#include <string>
#include <string_view>

#include "screen/screen.hpp"
#include "shell/globals.hpp"
#include "storage/tables.hpp"

namespace tx::shell {

inline constexpr int kRegisterArea = 9;
inline constexpr std::string_view kDefaultOfficialFolder = "C:\\ARQUIVOS DE PROGRAMAS RFB\\IRPF2014\\APLICACAO\\DADOS";

std::string BAR_DIR(std::string_view p);
std::string BAR_FORA(std::string_view p);
std::string BAR_ESQ(std::string_view p);
std::string TIRA_DIR(std::string_view p);
bool VERDIR(std::string_view p);
bool CONFER_DIR(screen::Screen& screen, std::string_view p);
bool ESPCIF(screen::Screen& screen, std::string_view p);

class FolderRoutines {
 public:
  FolderRoutines(screen::Screen& screen, storage::Tables& tables, Globals& g)
      : screen_(screen), tables_(tables), g_(g) {}

  // The taxpayer's name of the declaration being chosen (53 characters).
  std::string NOMECONTR = std::string(53, ' ');

  bool TROCASIM(int mode);
  bool MUDADIR(std::string_view folder);
  bool BUSCA_OUTRO(std::string& value, std::string_view variable, int order, int mode);
  bool CRI_NDIR(std::string_view folder, std::string_view label);
  bool add_folder(std::string_view folder);
  bool valid_folder_name(std::string_view folder);
  bool SELAREA(int which);

 private:
  bool open_register(std::string_view folder);
  bool mark_current();
  bool ask_folder(int which, std::string& entry);
  void save_folder_setting(int which, const std::string& entry);

  screen::Screen& screen_;
  storage::Tables& tables_;
  Globals& g_;
};

}  // namespace tx::shell
