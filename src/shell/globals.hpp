// Globals: the program-wide state set up at start-up, in one object that is
// passed by reference to whoever needs it (never kept in statics).
//
// Member names are the names the rest of the program uses. Texts are code
// page 850; folders are program paths ("C:\TX2014", "/srv/tx").
//
//   where    NUSU DIRDEF ROTADEF ARQDEF ROTADOANO LOCARQ DIRTRAB LOCTRAB
//            DIRORIG ROTAANTER ROTAREANT ROTARECEI ROTAJAVA ROTABACK DIRPROV
//            DIRINST LOCIRPF
//   who      NOMEAG
//   version  CULTIMAVER ("11/04/14", compared by the update check), VERSAO
//   config   copies of the terminal's configuration record (table 42)
//   settings copies of the settings record (table 43), BOL_BANCO, DAT_VENC,
//            NVALDOLAR / CVALDOLAR
//   printing the print selection QUEIMP QUEMOD QUEPAG QUECON NRO_VIAS and its
//            texts ITEM1..ITEM7, the printer configuration NROIMPR..NOMEREDE
//   run      OPCAO_1 (command running), NPOSMENU, last_command (for the exit
//            routine), HOJE / DATCALEN, alarms AAGEN / NTEMAGEN
#pragma once

#include <array>
#include <string>
#include <vector>

#include "base/date.hpp"
#include "base/decimal.hpp"

namespace tx::shell {

struct Globals {
  // ---- folders and terminal ------------------------------------------------
  std::string NUSU = "00";
  std::string DIRDEF;
  std::string ROTADEF;
  std::string ARQDEF;
  std::string ROTADOANO;
  std::string LOCARQ;
  std::string DIRTRAB;
  std::string LOCTRAB;
  std::string DIRORIG;
  std::string ROTAANTER, ROTAREANT, ROTARECEI, ROTAJAVA, ROTABACK, DIRPROV, DIRINST;
  std::string LOCIRPF;
  std::string NOMEAG;

  // ---- version ---------------------------------------------------------------
  std::string CULTIMAVER = "11/04/14";
  std::string VERSAO = "Lib  ";

  // ---- configuration record (table 42) ---------------------------------------
  std::string OPCIRPF = "J";
  int QUEIMP = 1, QUEMOD = 1, QUEPAG = 1, QUECON = 1;
  std::string MOSIMP = "S", MOSTEL = "S", MOSCPF;
  int COMPAGA = 1;
  std::string IMPBEM = "1", IMPBAL = "1";
  bool QUERSEN = false;
  std::string ULT_CPF = std::string(11, ' ');
  std::string CPF = std::string(11, ' ');
  int ULT_SENIR = 0;
  std::string XDRIVE = "A";
  int SOESTE = 9;
  int OPTTRAN = 0;
  Date ULTBACK;
  int ENV_STAT = 2;
  int OPC_TRAN = 7;
  int MARESQ = 0, INIFOL = 0, LINETI = 6, NRO_LIN = 60;

  // ---- settings record (table 43) --------------------------------------------
  Decimal VAL_SEG, VAL_BYTE, VAL_MIN, VAL_CPMF;
  int COMO_SAL = 0, TEMP_SAL = 0, TEMP_DES = 0;
  long BOL_NOSNRO = 0;
  std::string SER_SMTP, NOM_USUA, EMA_USUA, SEN_USUA, MEMORIZ, VER_ATUAL, PROCESSA, PROGCOMP;
  int STATRAVA = 0;
  int BOL_BANCO = 341;
  std::array<Date, 8> DAT_VENC{};
  Decimal NVALDOLAR;
  std::string CVALDOLAR;

  // ---- printer configuration (filled by the printer set-up) ------------------
  int NROIMPR = 0, NROLPT = 0, NROCOM = 0;
  std::string LOCIMPR, SAIDAPR, NOMEIMP, NOMEREDE;

  // ---- print selection texts -------------------------------------------------
  int NRO_VIAS = 1;
  std::string ITEM1, ITEM2, ITEM3, ITEM4, ITEM5, ITEM6, ITEM7;

  // ---- working values --------------------------------------------------------
  Date HOJE, DATCALEN;
  bool MOS_MENS = false;
  bool REFAZ_IND = false;
  std::vector<std::string> AAGEN;
  int NTEMAGEN = 0;
  std::string DECFINAL = "N", DECSAIDA = "N";
  int NLIN = 1, NROLINHAS = 60;
  bool CAL_AUTO = true;
  int OPCAO_1 = 0;
  int NPOSMENU = 0;
  int last_command = 0;  // the last command run from the menu or a key
};

}  // namespace tx::shell
