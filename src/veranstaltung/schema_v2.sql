-- The event server's tables, version 2: the later changes of a receipt.
-- A register runs this after version 1 in one transaction when its role may
-- create tables; an owner may run it with psql -1 -f schema_v2.sql.
-- Nothing on the server is ever updated: what changes on a receipt after
-- its close (the amount given with "GEG", a print that waited or was lost)
-- arrives as a row of its own, with the receipt's state after the change.

-- nr is the register's own order of its changes (its journal's number):
-- a clock set back between two changes cannot swap them.
CREATE TABLE beleg_nachtrag (
    id             uuid PRIMARY KEY,
    beleg_id       uuid NOT NULL REFERENCES beleg,
    kasse_id       uuid NOT NULL,
    nr             bigint NOT NULL,
    zeit           timestamptz NOT NULL,
    zeit_offset_s  int NOT NULL,
    gegeben_cent   bigint,
    rueckgeld_cent bigint,
    druck          int NOT NULL,
    eingegangen    timestamptz NOT NULL DEFAULT now()
);
CREATE INDEX beleg_nachtrag_beleg ON beleg_nachtrag (beleg_id, nr);

-- Every receipt as it is now: amount given, change and print state from
-- its newest change where it has one. The treasurer queries this one.
CREATE VIEW beleg_aktuell AS
SELECT b.id, b.veranstaltung, b.kasse, b.kasse_id, b.nummer, b.zeit, b.zeit_offset_s, b.tisch,
       b.summe_cent,
       CASE WHEN n.id IS NULL THEN b.gegeben_cent ELSE n.gegeben_cent END AS gegeben_cent,
       CASE WHEN n.id IS NULL THEN b.rueckgeld_cent ELSE n.rueckgeld_cent END AS rueckgeld_cent,
       CASE WHEN n.id IS NULL THEN b.druck ELSE CAST(n.druck AS smallint) END AS druck,
       b.eingegangen
FROM beleg b
LEFT JOIN LATERAL (
    SELECT x.id, x.gegeben_cent, x.rueckgeld_cent, x.druck FROM beleg_nachtrag x
    WHERE x.beleg_id = b.id ORDER BY x.nr DESC, x.zeit DESC, x.id DESC LIMIT 1
) n ON true;

-- Roles that may add receipts may add their changes and read the view.
DO $$
DECLARE
    r regrole;
BEGIN
    FOR r IN SELECT DISTINCT a.grantee::regrole
             FROM pg_class c, aclexplode(c.relacl) a
             WHERE c.oid = 'beleg'::regclass AND a.privilege_type = 'INSERT'
               AND a.grantee <> 0 AND a.grantee <> c.relowner
    LOOP
        EXECUTE format('GRANT SELECT, INSERT ON beleg_nachtrag TO %s', r);
        EXECUTE format('GRANT SELECT ON beleg_aktuell TO %s', r);
    END LOOP;
END
$$;

UPDATE schema_version SET version = 2;
