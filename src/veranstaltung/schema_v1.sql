-- The event server's tables, version 1. A register runs this in one
-- transaction when its role may create tables; an owner may run it with
-- psql -1 -f schema_v1.sql. Registers only ever INSERT and SELECT.
-- Amounts in whole cents; zeit is the UTC instant, the register's local
-- clock then is zeit + zeit_offset_s seconds.

CREATE TABLE schema_version (
    version int NOT NULL
);
INSERT INTO schema_version (version) VALUES (1);

-- One row per closed receipt; id is the receipt's identity everywhere.
CREATE TABLE beleg (
    id             uuid PRIMARY KEY,
    veranstaltung  text NOT NULL,
    kasse          text NOT NULL,
    kasse_id       uuid NOT NULL,
    nummer         bigint NOT NULL,
    zeit           timestamptz NOT NULL,
    zeit_offset_s  int NOT NULL,
    tisch          int,
    summe_cent     bigint NOT NULL,
    gegeben_cent   bigint,
    rueckgeld_cent bigint,
    druck          smallint NOT NULL,
    eingegangen    timestamptz NOT NULL DEFAULT now(),
    UNIQUE (kasse_id, nummer)
);
CREATE INDEX beleg_veranstaltung_zeit ON beleg (veranstaltung, zeit);

CREATE TABLE belegzeile (
    beleg_id    uuid NOT NULL REFERENCES beleg,
    pos         int NOT NULL,
    taste       int NOT NULL,
    artikel     text NOT NULL,
    anzahl      int NOT NULL,
    preis_cent  bigint NOT NULL,
    betrag_cent bigint NOT NULL,
    PRIMARY KEY (beleg_id, pos)
);

-- The voids as journalled; beleg_nummer is the receipt they were voided from.
CREATE TABLE storno (
    id            uuid PRIMARY KEY,
    veranstaltung text NOT NULL,
    kasse         text NOT NULL,
    kasse_id      uuid NOT NULL,
    zeit          timestamptz NOT NULL,
    zeit_offset_s int NOT NULL,
    beleg_nummer  bigint NOT NULL,
    taste         int NOT NULL,
    artikel       text NOT NULL,
    anzahl        int NOT NULL,
    betrag_cent   bigint NOT NULL
);
CREATE INDEX storno_veranstaltung ON storno (veranstaltung, kasse_id);

-- Written with every batch and on every connect: the register's own count
-- (letzte_nummer: its highest receipt number; stornos: its voids) and what
-- it still has to send (wartend). A register has sent everything when its
-- newest row says wartend = 0 and the server holds receipt letzte_nummer.
CREATE TABLE kasse_stand (
    kasse_id      uuid NOT NULL,
    veranstaltung text NOT NULL,
    kasse         text NOT NULL,
    zeit          timestamptz NOT NULL DEFAULT now(),
    letzte_nummer bigint NOT NULL,
    stornos       bigint NOT NULL,
    wartend       int NOT NULL
);
CREATE INDEX kasse_stand_kasse ON kasse_stand (veranstaltung, kasse_id, zeit);
