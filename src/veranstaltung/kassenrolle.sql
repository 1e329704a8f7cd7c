-- The role the registers use: it may add receipts and read the event, never
-- change or delete what is there, so a stolen register cannot rewrite the
-- event. Run by the database's owner after the tables exist, e.g.
--   psql -d zanti -1 -f schema_v1.sql -f schema_v2.sql && psql -d zanti -f kassenrolle.sql
-- then give the role a password (\password kasse) and put it into each
-- register's ~/.pgpass.
CREATE ROLE kasse LOGIN;
REVOKE CREATE ON SCHEMA public FROM PUBLIC;
GRANT USAGE ON SCHEMA public TO kasse;
GRANT SELECT ON schema_version TO kasse;
GRANT SELECT, INSERT ON beleg, belegzeile, storno, kasse_stand, beleg_nachtrag TO kasse;
GRANT SELECT ON beleg_aktuell TO kasse;
