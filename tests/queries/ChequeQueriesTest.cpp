// placeholder: written by the query-tests work
